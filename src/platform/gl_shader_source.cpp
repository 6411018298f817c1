#include "platform/gl_shader_source.h"

#include "platform/gl_shader.h"

namespace {

// Per-vertex lighting with the original's formulas: colour sources, ambient, diffuse and
// specular of every enabled light, point and spot attenuation, range.
const char* const kLightingSource = R"(
uniform mat3 uNormalMatrix;
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
)";

std::string Header() {
    return "#version 330 core\n#define MAX_LIGHTS " + std::to_string(kMaxLights) +
           "\n#define LIGHT_VEC4S " + std::to_string(kLightVec4s) + "\n";
}

// The colours between the stages: one copy each, flat or interpolated as the key says.
std::string ColourVarying(const GlShaderKey& k, const char* direction, const char* name) {
    return std::string(k.flatShade ? "flat " : "") + direction + " vec4 " + name + ";\n";
}

bool UsesFactor(uint8_t op, const uint8_t args[2]) {
    return op != GlShaderKey::kKeep &&
           (op == 14 || GlShaderKey::Select(args[0]) == 3 || GlShaderKey::Select(args[1]) == 3);
}

// One argument: its colour, complemented (16), then alpha replicated (32).
std::string Arg(uint8_t a) {
    std::string v;
    switch (GlShaderKey::Select(a)) {
        case 2:
            v = "texel";
            break;
        case 3:
            v = "uTextureFactor";
            break;
        case 4:
            v = "specular";
            break;
        default:
            v = "diffuse";
            break;
    }
    if (a & 16) v = "(vec4(1.0) - " + v + ")";
    if (a & 32) v = "vec4(" + v + ".a)";
    return v;
}

std::string Combine(uint8_t op, const uint8_t args[2]) {
    const std::string a1 = Arg(args[0]), a2 = Arg(args[1]);
    std::string r;
    switch (op) {
        case 2:
            r = a1;
            break;
        case 3:
            r = a2;
            break;
        case 5:
            r = a1 + " * " + a2 + " * 2.0";
            break;
        case 6:
            r = a1 + " * " + a2 + " * 4.0";
            break;
        case 7:
            r = a1 + " + " + a2;
            break;
        case 8:
            r = a1 + " + " + a2 + " - 0.5";
            break;
        case 9:
            r = "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
            break;
        case 10:
            r = a1 + " - " + a2;
            break;
        case 11:
            r = a1 + " + " + a2 + " - " + a1 + " * " + a2;
            break;
        case 12:
            r = "mix(" + a2 + ", " + a1 + ", diffuse.a)";
            break;
        case 13:
            r = "mix(" + a2 + ", " + a1 + ", texel.a)";
            break;
        case 14:
            r = "mix(" + a2 + ", " + a1 + ", uTextureFactor.a)";
            break;
        default:
            r = a1 + " * " + a2;  // modulate
            break;
    }
    return "clamp(" + r + ", 0.0, 1.0)";
}

// The alpha test as a condition on the rounded alpha `a` against the reference.
const char* AlphaCondition(uint8_t func) {
    switch (func) {
        case 1:
            return "false";
        case 2:
            return "a < uAlphaRef";
        case 3:
            return "a == uAlphaRef";
        case 4:
            return "a <= uAlphaRef";
        case 5:
            return "a > uAlphaRef";
        case 6:
            return "a != uAlphaRef";
        default:
            return "a >= uAlphaRef";
    }
}

}  // namespace

// Positions: world vertices go through world x view, then projection; screen vertices are
// already in pixels. Both end in clip space with the 0..1 depth turned into GL's -1..1, pixel
// centres on integer screen coordinates, and y pointing down the target (its first row is the
// top of the picture), so GL's fill rule decides edge pixels the way the original rasteriser
// did.
std::string FixedFunctionVertexSource(const GlShaderKey& k) {
    const bool specularIn = k.readsSpecular || k.lighting;
    std::string s = Header();
    s += "layout(location = 0) in vec4 aPosition;\n";
    if (k.lighting) s += "layout(location = 1) in vec3 aNormal;\n";
    s += "layout(location = 2) in vec4 aDiffuse;\n";
    if (specularIn) s += "layout(location = 3) in vec4 aSpecular;\n";
    if (k.sampleTexture) s += "layout(location = 4) in vec2 aTexCoord;\n";
    s += "uniform vec2 uPixelOffset;\n";
    if (!k.pretransformed) s += "uniform mat4 uWorldView;\nuniform mat4 uProjection;\n";
    s += ColourVarying(k, "out", "vDiffuse");
    if (k.readsSpecular) s += ColourVarying(k, "out", "vSpecular");
    if (k.sampleTexture) s += "out vec2 vTexCoord;\n";
    if (k.snapTexel) s += "uniform vec2 uTexelBias;\n";
    if (k.lighting) s += kLightingSource;

    s += "void main() {\n";
    // A vertex without a colour reads opaque white diffuse and zero specular.
    s += "    vec4 diffuse = aDiffuse;\n";
    if (specularIn) s += "    vec4 specular = aSpecular;\n";
    if (k.pretransformed) {
        s += R"(    float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 ndc = vec2(aPosition.x / 320.0 - 1.0, aPosition.y / 240.0 - 1.0) + uPixelOffset;
    gl_Position = vec4(ndc * w, (2.0 * aPosition.z - 1.0) * w, w);
)";
    } else {
        s += R"(    vec4 eye = uWorldView * vec4(aPosition.xyz, 1.0);
    vec4 clip = uProjection * eye;
    clip.y = -clip.y;
    clip.xy += uPixelOffset * clip.w;
    clip.z = 2.0 * clip.z - clip.w;
    gl_Position = clip;
)";
        if (k.lighting) s += "    LightVertex(eye.xyz, diffuse, specular);\n";
    }
    s += "    vDiffuse = diffuse;\n";
    if (k.readsSpecular) s += "    vSpecular = specular;\n";
    if (k.snapTexel) {
        // The original hardware snapped coordinates to 1/256 of a texel, so a coordinate that
        // lands on a texel edge (every sprite corner does) picks the same texel every time,
        // whatever the interpolation error. For point sampling, rounding to the nearest 1/256
        // and then taking the texel below is the same as shifting by half of 1/256 texel and
        // taking the texel below; the shift is constant over a triangle, so it goes on the
        // vertices and the fragments sample directly.
        s += "    vTexCoord = aTexCoord + uTexelBias;\n";
    } else if (k.sampleTexture)
        s += "    vTexCoord = aTexCoord;\n";
    s += "}\n";
    return s;
}

// Texture stage 0 with the original's operations and arguments, then the specular add and
// the alpha test.
std::string FixedFunctionFragmentSource(const GlShaderKey& k) {
    const bool factor = UsesFactor(k.colorOp, k.colorArgs) || UsesFactor(k.alphaOp, k.alphaArgs);
    std::string s = Header();
    s += ColourVarying(k, "in", "vDiffuse");
    if (k.readsSpecular) s += ColourVarying(k, "in", "vSpecular");
    if (k.sampleTexture) s += "in vec2 vTexCoord;\nuniform sampler2D uTexture;\n";
    if (factor) s += "uniform vec4 uTextureFactor;\n";
    if (k.alphaFunc) s += "uniform int uAlphaRef;\n";
    s += "out vec4 fragColor;\n";

    s += "void main() {\n    vec4 diffuse = vDiffuse;\n";
    if (k.readsSpecular) s += "    vec4 specular = vSpecular;\n";
    if (k.sampleTexture) s += "    vec4 texel = texture(uTexture, vTexCoord);\n";
    s += "    vec4 c = diffuse;\n";
    if (k.colorOp != GlShaderKey::kKeep)
        s += "    c.rgb = " + Combine(k.colorOp, k.colorArgs) + ".rgb;\n";
    if (k.alphaOp != GlShaderKey::kKeep)
        s += "    c.a = " + Combine(k.alphaOp, k.alphaArgs) + ".a;\n";
    if (k.addSpecular) s += "    c.rgb = min(c.rgb + specular.rgb, vec3(1.0));\n";
    if (k.alphaFunc) {
        s += "    int a = int(c.a * 255.0 + 0.5);\n";
        s += std::string("    if (!(") + AlphaCondition(k.alphaFunc) + ")) discard;\n";
    }
    s += "    fragColor = c;\n}\n";
    return s;
}
