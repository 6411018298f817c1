#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include "gfx/device_types.h"

// GL primitive mode of a primitive type; 0 for an unknown type.
GLenum GlPrimitiveMode(PrimitiveType type);

// Index lists from the game may point past the vertices it handed over. When every index is
// below `vertexCount` this returns false and the indices are drawn as they are. Otherwise `out`
// receives the primitives whose vertices all exist, as a list (`listMode`): strips and fans are
// unrolled keeping each triangle's winding and its first (flat-shading) vertex.
bool KeepValidPrimitives(PrimitiveType type, const uint16_t* indices, uint32_t indexCount,
                         uint32_t vertexCount, std::vector<uint16_t>& out, GLenum& listMode);
