#include "platform/gl_shader_key.h"

namespace {

constexpr uint8_t kSelectTexture = 2;
constexpr uint8_t kSelectSpecular = 4;

// Operations the stage does not know behave as modulate.
uint8_t NormalOp(uint32_t op) {
    return op >= 1 && op <= 14 ? uint8_t(op) : uint8_t(TextureOp::Modulate);
}

// Selectors other than texture, factor and specular read the diffuse colour (which is also
// "current" at the first stage); the complement (16) and alpha-replicate (32) flags stay.
uint8_t NormalArg(uint32_t a) {
    uint32_t sel = a & 15;
    if (sel < 2 || sel > 4) sel = 0;
    return uint8_t(sel | (a & 48));
}

// Whether an operation reads the texture: through its arguments, or its texture-alpha blend.
bool ReadsTexture(uint8_t op, const uint8_t args[2]) {
    bool first = GlShaderKey::Select(args[0]) == kSelectTexture,
         second = GlShaderKey::Select(args[1]) == kSelectTexture;
    if (op == uint8_t(TextureOp::SelectArg1)) return first;
    if (op == uint8_t(TextureOp::SelectArg2)) return second;
    return first || second || op == 13;
}

bool ReadsSpecular(uint8_t op, const uint8_t args[2]) {
    return op != GlShaderKey::kKeep && (GlShaderKey::Select(args[0]) == kSelectSpecular ||
                                        GlShaderKey::Select(args[1]) == kSelectSpecular);
}

// One channel of the stage: its operation and the arguments it uses, or kKeep when it passes
// the diffuse colour on (disabled, or reading a texture that is not there).
void Channel(uint32_t op, uint32_t arg1, uint32_t arg2, bool textured, uint8_t& outOp,
             uint8_t outArgs[2]) {
    outOp = NormalOp(op);
    outArgs[0] = NormalArg(arg1);
    outArgs[1] = NormalArg(arg2);
    if (outOp == uint8_t(TextureOp::SelectArg1)) outArgs[1] = 0;
    if (outOp == uint8_t(TextureOp::SelectArg2)) outArgs[0] = 0;
    if (outOp == GlShaderKey::kKeep || (!textured && ReadsTexture(outOp, outArgs))) {
        outOp = GlShaderKey::kKeep;
        outArgs[0] = outArgs[1] = 0;
    }
}

}  // namespace

uint64_t GlShaderKey::Bits() const {
    uint64_t b = 0;
    auto put = [&b](uint64_t value, int bits) { b = (b << bits) | (value & ((1u << bits) - 1)); };
    put(pretransformed, 1);
    put(lighting, 1);
    put(flatShade, 1);
    put(sampleTexture, 1);
    put(snapTexel, 1);
    put(readsSpecular, 1);
    put(addSpecular, 1);
    put(colorOp, 4);
    put(alphaOp, 4);
    put(colorArgs[0], 6);
    put(colorArgs[1], 6);
    put(alphaArgs[0], 6);
    put(alphaArgs[1], 6);
    put(alphaFunc, 3);
    return b;
}

GlShaderKey ShaderKeyFor(const DeviceState& s, bool textured) {
    GlShaderKey k;
    k.pretransformed = (s.fvf & kFvfXyzRhw) != 0;
    k.lighting = !k.pretransformed && s.Rs(RenderState::Lighting) != 0;
    k.flatShade = s.Rs(RenderState::ShadeMode) == uint32_t(Shade::Flat);

    constexpr uint8_t kKeep = GlShaderKey::kKeep;
    if (NormalOp(s.Tss(TextureStageState::ColorOp)) != kKeep) {
        Channel(s.Tss(TextureStageState::ColorOp), s.Tss(TextureStageState::ColorArg1),
                s.Tss(TextureStageState::ColorArg2), textured, k.colorOp, k.colorArgs);
        Channel(s.Tss(TextureStageState::AlphaOp), s.Tss(TextureStageState::AlphaArg1),
                s.Tss(TextureStageState::AlphaArg2), textured, k.alphaOp, k.alphaArgs);
    }
    k.sampleTexture = textured && ((k.colorOp != kKeep && ReadsTexture(k.colorOp, k.colorArgs)) ||
                                   (k.alphaOp != kKeep && ReadsTexture(k.alphaOp, k.alphaArgs)));
    // Point sampling picks the texel a coordinate falls in; snapping keeps a coordinate that
    // lands on a texel edge (every sprite corner does) from falling on either side of it by
    // interpolation error. Filtered sampling blends across the edge and needs no snapping.
    auto point = [&s](TextureStageState t) {
        uint32_t f = s.Tss(t);
        return f != uint32_t(TextureFilter::Linear) && f != uint32_t(TextureFilter::Anisotropic);
    };
    k.snapTexel = k.sampleTexture &&
                  (point(TextureStageState::MagFilter) || point(TextureStageState::MinFilter));

    k.addSpecular = s.Rs(RenderState::SpecularEnable) != 0;
    k.readsSpecular = k.addSpecular || ReadsSpecular(k.colorOp, k.colorArgs) ||
                      ReadsSpecular(k.alphaOp, k.alphaArgs);

    uint32_t func = s.Rs(RenderState::AlphaFunc);
    if (s.Rs(RenderState::AlphaTestEnable) && func >= 1 && func <= 7) k.alphaFunc = uint8_t(func);
    return k;
}
