#pragma once
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gl_shader_key.h"

// Vertex attribute slots of the fixed-function programs.
constexpr GLuint kAttribPosition = 0;
constexpr GLuint kAttribNormal = 1;
constexpr GLuint kAttribDiffuse = 2;
constexpr GLuint kAttribSpecular = 3;
constexpr GLuint kAttribTexCoord = 4;

// vec4 slots per light in the packed light array (see gl_lighting.h).
constexpr int kLightVec4s = 7;

// One variant of the program that does what the original fixed-function pipeline did:
// transform or take screen positions, light per vertex, combine texture stage 0, alpha test.
// A uniform the variant does not have is at location -1.
struct FixedFunctionProgram {
    GLuint program = 0;
    GlShaderKey key;

    // Vertex stage.
    GLint worldView = -1;     // mat4
    GLint projection = -1;    // mat4
    GLint normalMatrix = -1;  // mat3
    GLint hasNormal = -1;
    GLint hasDiffuse = -1;
    GLint hasSpecular = -1;
    GLint colorVertex = -1;
    GLint normalizeNormals = -1;
    GLint specularEnable = -1;
    GLint materialSource = -1;  // ivec4: diffuse, specular, ambient, emissive
    GLint material = -1;        // vec4[4]: diffuse, ambient, specular, emissive
    GLint materialPower = -1;
    GLint globalAmbient = -1;
    GLint lightCount = -1;
    GLint lights = -1;  // vec4[kMaxLights * kLightVec4s]

    // Fragment stage.
    GLint texelBias = -1;  // vec2: half of 1/256 texel, in texture coordinates
    GLint textureFactor = -1;
    GLint alphaRef = -1;  // int 0..255

    // True when `data` differs from what the uniform at `location` last received (and then
    // remembers it); false for a missing uniform.
    bool UniformChanged(GLint location, const void* data, size_t size);

private:
    std::vector<std::vector<uint8_t>> uniformShadow_;
};

// Compiles and links the variant for `key`; false with a message (the driver's log) on failure.
bool BuildFixedFunctionProgram(const GlShaderKey& key, FixedFunctionProgram& out,
                               std::string& error);
void DestroyFixedFunctionProgram(FixedFunctionProgram& p);

// The variants in use, each compiled the first time a draw needs it.
class GlProgramCache {
public:
    GlProgramCache() = default;
    GlProgramCache(const GlProgramCache&) = delete;
    GlProgramCache& operator=(const GlProgramCache&) = delete;
    ~GlProgramCache() { Destroy(); }

    // Null, with the reason in `error`, when the variant does not build.
    FixedFunctionProgram* Get(const GlShaderKey& key, std::string& error);
    size_t Size() const { return programs_.size(); }
    void Destroy();

private:
    std::unordered_map<uint64_t, std::unique_ptr<FixedFunctionProgram>> programs_;
    FixedFunctionProgram* last_ = nullptr;
    uint64_t lastBits_ = 0;
};
