#pragma once
#include <string>

#include "platform/gl_shader_key.h"

// GLSL 3.30 text of the fixed-function program for one key. Each variant carries only the
// code its key asks for: a sprite (screen vertices, texture x diffuse) gets a transform, two
// colour inputs and one multiply; lighting, stage operations, specular and the alpha test
// appear only in the variants that use them.
std::string FixedFunctionVertexSource(const GlShaderKey& key);
std::string FixedFunctionFragmentSource(const GlShaderKey& key);
