#include "platform/gl_shader.h"

#include <vector>

#include "gfx/backend.h"

namespace {

// Positions: world vertices go through world x view, then projection; pre-transformed ones
// are already in screen pixels. Both end in clip space with the 0..1 depth turned into GL's
// -1..1, pixel centres on integer screen coordinates, and y pointing down the target (its
// first row is the top of the picture), so GL's fill rule decides edge pixels the way the
// original rasteriser did.
const char* const kVertexSource = R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec4 aSpecular;
layout(location = 4) in vec2 aTexCoord;

uniform bool uPretransformed;
uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec2 uPixelOffset;
uniform bool uLighting;
uniform bool uHasNormal;
uniform bool uHasDiffuse;
uniform bool uHasSpecular;
uniform bool uColorVertex;
uniform bool uNormalizeNormals;
uniform bool uSpecularEnable;
uniform ivec4 uMaterialSource;  // diffuse, specular, ambient, emissive
uniform vec4 uMaterial[4];      // diffuse, ambient, specular, emissive
uniform float uMaterialPower;
uniform vec4 uGlobalAmbient;
uniform int uLightCount;
uniform vec4 uLights[MAX_LIGHTS * LIGHT_VEC4S];

out vec4 vDiffuse;
flat out vec4 vDiffuseFlat;
out vec4 vSpecular;
flat out vec4 vSpecularFlat;
out vec2 vTexCoord;

// Colour 1 is the vertex diffuse, colour 2 the vertex specular; a vertex without that colour,
// or vertex colours switched off, leaves the material's own.
vec4 MaterialColor(int source, int slot) {
    if (uColorVertex) {
        if (source == 1 && uHasDiffuse) return aDiffuse;
        if (source == 2 && uHasSpecular) return aSpecular;
    }
    return uMaterial[slot];
}

void LightVertex(vec3 P, out vec4 diffuse, out vec4 specular) {
    vec3 N = vec3(0.0);  // no normal in the vertex: ambient and emissive only
    if (uHasNormal) {
        N = uNormalMatrix * aNormal;
        if (uNormalizeNormals) {
            float len = length(N);
            if (len > 0.0) N /= len;
        }
    }
    float lenP = length(P);
    vec3 toEye = lenP > 0.0 ? -P / lenP : vec3(0.0, 0.0, -1.0);
    vec3 amb = vec3(0.0);
    vec3 dif = vec3(0.0);
    vec3 spe = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i) {
        int b = i * LIGHT_VEC4S;
        vec4 pos = uLights[b + 3];
        vec4 dir = uLights[b + 4];
        vec4 att = uLights[b + 5];
        vec4 cone = uLights[b + 6];
        int type = int(pos.w);
        vec3 L;
        float k = 1.0;
        if (type == 3) {
            L = -dir.xyz;
        } else {
            vec3 d = pos.xyz - P;
            float dist = length(d);
            if (dist > dir.w) continue;  // out of range
            L = dist > 0.0 ? d / dist : vec3(0.0);
            float den = att.x + att.y * dist + att.z * dist * dist;
            k = den > 0.0 ? 1.0 / den : 1.0;
            if (type == 2) {
                float rho = dot(-L, dir.xyz);
                if (rho <= cone.y) {
                    k = 0.0;
                } else if (rho <= cone.x) {
                    float t = (rho - cone.y) / max(cone.x - cone.y, 1e-6);
                    k *= att.w == 1.0 ? t : pow(t, att.w);
                }
            }
        }
        amb += uLights[b + 2].rgb * k;
        float ndl = dot(N, L);
        if (ndl > 0.0) {
            dif += uLights[b].rgb * (ndl * k);
            if (uSpecularEnable) {
                vec3 H = normalize(toEye + L);
                float ndh = dot(N, H);
                if (ndh > 0.0) spe += uLights[b + 1].rgb * (pow(ndh, uMaterialPower) * k);
            }
        }
    }
    vec4 md = MaterialColor(uMaterialSource.x, 0);
    vec4 ms = MaterialColor(uMaterialSource.y, 2);
    vec4 ma = MaterialColor(uMaterialSource.z, 1);
    vec4 me = MaterialColor(uMaterialSource.w, 3);
    diffuse = vec4(clamp(me.rgb + ma.rgb * (uGlobalAmbient.rgb + amb) + md.rgb * dif, 0.0, 1.0),
                   clamp(md.a, 0.0, 1.0));
    specular = vec4(clamp(ms.rgb * spe, 0.0, 1.0), clamp(ms.a, 0.0, 1.0));
}

void main() {
    vTexCoord = aTexCoord;
    vec4 diffuse = aDiffuse;  // opaque white / zero when the vertex carries none
    vec4 specular = aSpecular;
    if (uPretransformed) {
        float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2(aPosition.x / 320.0 - 1.0, aPosition.y / 240.0 - 1.0) + uPixelOffset;
        gl_Position = vec4(ndc * w, (2.0 * aPosition.z - 1.0) * w, w);
    } else {
        vec4 eye = uWorldView * vec4(aPosition.xyz, 1.0);
        vec4 clip = uProjection * eye;
        clip.y = -clip.y;
        clip.xy += uPixelOffset * clip.w;
        clip.z = 2.0 * clip.z - clip.w;
        gl_Position = clip;
        if (uLighting) LightVertex(eye.xyz, diffuse, specular);
    }
    vDiffuse = diffuse;
    vDiffuseFlat = diffuse;
    vSpecular = specular;
    vSpecularFlat = specular;
}
)";

// Texture stage 0 with the original's operations and arguments (low four bits select, 0x10
// complements, 0x20 replicates alpha), then specular add and the alpha test.
const char* const kFragmentSource = R"(#version 330 core
in vec4 vDiffuse;
flat in vec4 vDiffuseFlat;
in vec4 vSpecular;
flat in vec4 vSpecularFlat;
in vec2 vTexCoord;

uniform sampler2D uTexture;
uniform bool uHasTexture;
uniform ivec2 uStageOps;  // colour op, alpha op
uniform ivec2 uColorArgs;
uniform ivec2 uAlphaArgs;
uniform vec4 uTextureFactor;
uniform bool uFlatShade;
uniform bool uAddSpecular;
uniform ivec2 uAlphaTest;  // compare function (0 = off), reference

out vec4 fragColor;

vec4 diffuse;
vec4 specular;
vec4 texel;

vec4 Arg(int a) {
    int sel = a & 15;
    vec4 v = diffuse;  // diffuse, and current at the first stage
    if (sel == 2) v = texel;
    else if (sel == 3) v = uTextureFactor;
    else if (sel == 4) v = specular;
    if ((a & 16) != 0) v = vec4(1.0) - v;
    if ((a & 32) != 0) v = vec4(v.a);
    return v;
}

vec4 Combine(int op, vec4 a1, vec4 a2) {
    vec4 r;
    if (op == 2) r = a1;
    else if (op == 3) r = a2;
    else if (op == 5) r = a1 * a2 * 2.0;
    else if (op == 6) r = a1 * a2 * 4.0;
    else if (op == 7) r = a1 + a2;
    else if (op == 8) r = a1 + a2 - 0.5;
    else if (op == 9) r = (a1 + a2 - 0.5) * 2.0;
    else if (op == 10) r = a1 - a2;
    else if (op == 11) r = a1 + a2 - a1 * a2;
    else if (op == 12) r = mix(a2, a1, diffuse.a);
    else if (op == 13) r = mix(a2, a1, texel.a);
    else if (op == 14) r = mix(a2, a1, uTextureFactor.a);
    else r = a1 * a2;  // modulate, and whatever this stage does not know
    return clamp(r, 0.0, 1.0);
}

bool AlphaPasses(int func, float alpha, int ref) {
    int a = int(alpha * 255.0 + 0.5);
    if (func == 1) return false;
    if (func == 2) return a < ref;
    if (func == 3) return a == ref;
    if (func == 4) return a <= ref;
    if (func == 5) return a > ref;
    if (func == 6) return a != ref;
    if (func == 7) return a >= ref;
    return true;
}

// Without a texture, an operation that reads the texture passes the diffuse colour on.
bool ReadsMissingTexture(int op, ivec2 args) {
    if (uHasTexture) return false;
    bool first = (args.x & 15) == 2, second = (args.y & 15) == 2;
    if (op == 2) return first;
    if (op == 3) return second;
    return first || second || op == 13;
}

void main() {
    diffuse = uFlatShade ? vDiffuseFlat : vDiffuse;
    specular = uFlatShade ? vSpecularFlat : vSpecular;
    texel = vec4(1.0);
    if (uHasTexture) {
        // Texture coordinates snap to 1/256 of a texel, as the original hardware's did, so a
        // coordinate that lands on a texel edge picks the same texel every time.
        vec2 size = vec2(textureSize(uTexture, 0)) * 256.0;
        texel = texture(uTexture, floor(vTexCoord * size + 0.5) / size);
    }
    vec4 c = diffuse;
    if (uStageOps.x != 1) {
        if (!ReadsMissingTexture(uStageOps.x, uColorArgs))
            c.rgb = Combine(uStageOps.x, Arg(uColorArgs.x), Arg(uColorArgs.y)).rgb;
        if (uStageOps.y != 1 && !ReadsMissingTexture(uStageOps.y, uAlphaArgs))
            c.a = Combine(uStageOps.y, Arg(uAlphaArgs.x), Arg(uAlphaArgs.y)).a;
    }
    if (uAddSpecular) c.rgb = min(c.rgb + specular.rgb, vec3(1.0));
    if (uAlphaTest.x != 0 && !AlphaPasses(uAlphaTest.x, c.a, uAlphaTest.y)) discard;
    fragColor = c;
}
)";

std::string ShaderLog(GLuint shader) {
    GLint len = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
    std::vector<char> log(static_cast<size_t>(len > 0 ? len : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

GLuint Compile(GLenum type, const std::string& source, std::string& error) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        error = std::string(type == GL_VERTEX_SHADER ? "vertex" : "fragment") +
                " shader does not compile: " + ShaderLog(shader);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

std::string WithConstants(const char* source) {
    std::string s = source;
    std::string defines = "#define MAX_LIGHTS " + std::to_string(kMaxLights) +
                          "\n#define LIGHT_VEC4S " + std::to_string(kLightVec4s) + "\n";
    size_t eol = s.find('\n');
    s.insert(eol + 1, defines);
    return s;
}

}  // namespace

bool BuildFixedFunctionProgram(FixedFunctionProgram& out, std::string& error) {
    GLuint vs = Compile(GL_VERTEX_SHADER, WithConstants(kVertexSource), error);
    if (!vs) return false;
    GLuint fs = Compile(GL_FRAGMENT_SHADER, WithConstants(kFragmentSource), error);
    if (!fs) {
        glDeleteShader(vs);
        return false;
    }
    GLuint p = glCreateProgram();
    glAttachShader(p, vs);
    glAttachShader(p, fs);
    glLinkProgram(p);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        GLint len = 0;
        glGetProgramiv(p, GL_INFO_LOG_LENGTH, &len);
        std::vector<char> log(static_cast<size_t>(len > 0 ? len : 1), '\0');
        glGetProgramInfoLog(p, static_cast<GLsizei>(log.size()), nullptr, log.data());
        error = std::string("shader program does not link: ") + log.data();
        glDeleteProgram(p);
        return false;
    }

    out.program = p;
    auto loc = [p](const char* name) { return glGetUniformLocation(p, name); };
    out.pretransformed = loc("uPretransformed");
    out.worldView = loc("uWorldView");
    out.projection = loc("uProjection");
    out.normalMatrix = loc("uNormalMatrix");
    out.pixelOffset = loc("uPixelOffset");
    out.lighting = loc("uLighting");
    out.hasNormal = loc("uHasNormal");
    out.hasDiffuse = loc("uHasDiffuse");
    out.hasSpecular = loc("uHasSpecular");
    out.colorVertex = loc("uColorVertex");
    out.normalizeNormals = loc("uNormalizeNormals");
    out.specularEnable = loc("uSpecularEnable");
    out.materialSource = loc("uMaterialSource");
    out.material = loc("uMaterial");
    out.materialPower = loc("uMaterialPower");
    out.globalAmbient = loc("uGlobalAmbient");
    out.lightCount = loc("uLightCount");
    out.lights = loc("uLights");
    out.texture = loc("uTexture");
    out.hasTexture = loc("uHasTexture");
    out.stageOps = loc("uStageOps");
    out.colorArgs = loc("uColorArgs");
    out.alphaArgs = loc("uAlphaArgs");
    out.textureFactor = loc("uTextureFactor");
    out.flatShade = loc("uFlatShade");
    out.addSpecular = loc("uAddSpecular");
    out.alphaTest = loc("uAlphaTest");
    return true;
}

void DestroyFixedFunctionProgram(FixedFunctionProgram& p) {
    if (p.program) glDeleteProgram(p.program);
    p = FixedFunctionProgram{};
}
