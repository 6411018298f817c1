#pragma once
#include <epoxy/gl.h>

#include <string>

// Vertex attribute slots of the fixed-function program.
constexpr GLuint kAttribPosition = 0;
constexpr GLuint kAttribNormal = 1;
constexpr GLuint kAttribDiffuse = 2;
constexpr GLuint kAttribSpecular = 3;
constexpr GLuint kAttribTexCoord = 4;

// vec4 slots per light in the packed light array (see gl_lighting.h).
constexpr int kLightVec4s = 7;

// The one program that does what the original fixed-function pipeline did: transform or take
// pre-transformed positions, light per vertex, combine texture stage 0, alpha test.
struct FixedFunctionProgram {
    GLuint program = 0;

    // Vertex stage.
    GLint pretransformed = -1;  // bool
    GLint worldView = -1;       // mat4
    GLint projection = -1;      // mat4
    GLint normalMatrix = -1;    // mat3
    GLint pixelOffset = -1;     // vec2, NDC shift that puts pixel centres on integers
    GLint lighting = -1;        // bool
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
    GLint texture = -1;     // sampler2D
    GLint hasTexture = -1;  // bool
    GLint stageOps = -1;    // ivec2: colour op, alpha op
    GLint colorArgs = -1;   // ivec2
    GLint alphaArgs = -1;   // ivec2
    GLint textureFactor = -1;
    GLint flatShade = -1;
    GLint addSpecular = -1;
    GLint alphaTest = -1;  // ivec2: compare function (0 = off), reference 0..255
};

// Compiles and links the program; false with a message (the driver's log) on failure.
bool BuildFixedFunctionProgram(FixedFunctionProgram& out, std::string& error);
void DestroyFixedFunctionProgram(FixedFunctionProgram& p);
