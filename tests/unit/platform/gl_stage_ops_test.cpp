// Every texture stage operation, argument modifier and alpha test function of the GL backend's
// programs against the formulas computed here, all in one frame (one program each).
#include <algorithm>
#include <cmath>

#include "gl_test_support.h"

namespace {

struct Rgba {
    double r, g, b, a;
};

Rgba FromArgb(uint32_t c) {
    return {((c >> 16) & 255) / 255.0, ((c >> 8) & 255) / 255.0, (c & 255) / 255.0,
            (c >> 24) / 255.0};
}

constexpr uint32_t kTexel = 0x80C04020, kDiffuse = 0x60208040, kFactor = 0xA0FF8010,
                   kSpecular = 0x00102030;
constexpr uint32_t kComplement = 16, kReplicateAlpha = 32;

Rgba ArgValue(uint32_t a) {
    const uint32_t colours[] = {kDiffuse, kDiffuse, kTexel, kFactor, kSpecular};
    Rgba v = FromArgb((a & 15) <= 4 ? colours[a & 15] : kDiffuse);
    if (a & kComplement) v = {1 - v.r, 1 - v.g, 1 - v.b, 1 - v.a};
    if (a & kReplicateAlpha) v = {v.a, v.a, v.a, v.a};
    return v;
}

// Operations 2..14: select 1, select 2, modulate 1x 2x 4x, add, signed, signed 2x, subtract,
// smooth, then blends by the diffuse, texture and factor alpha; anything else modulates.
double Combine(uint32_t op, double a1, double a2) {
    auto lerp = [&](uint32_t c) { return a2 + (a1 - a2) * FromArgb(c).a; };
    const double mod = a1 * a2, sum = a1 + a2, sgn = sum - 0.5, smooth = sum - mod;
    const double byDiffuse = lerp(kDiffuse), byTexel = lerp(kTexel), byFactor = lerp(kFactor);
    const double r[] = {a1,      a2,      mod,    2 * mod,   4 * mod, sum,     sgn,
                        2 * sgn, a1 - a2, smooth, byDiffuse, byTexel, byFactor};
    return std::clamp(op >= 2 && op <= 14 ? r[op - 2] : mod, 0.0, 1.0);
}

class GlStageOpsTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        device->SetRenderState(RenderState::ZEnable, 0u);
        device->SetRenderState(RenderState::TextureFactor, kFactor);
        texture_ = ArgbTexture({kTexel});
        device->SetTexture(0, texture_);
        device->Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
    void TearDown() override {
        if (texture_) texture_->Release();
        GlPixelTest::TearDown();
    }
    // An 8 x 8 square in cell `i` with the diffuse and specular colours above.
    void DrawCell(int i, uint32_t diffuse = kDiffuse) {
        float x = float(i % 40) * 16, y = float(i / 40) * 16;
        TestScreenVertex v[6] = {Sv(x, y, diffuse),         Sv(x + 8, y, diffuse),
                                 Sv(x + 8, y + 8, diffuse), Sv(x, y, diffuse),
                                 Sv(x + 8, y + 8, diffuse), Sv(x, y + 8, diffuse)};
        for (auto& p : v) p.specular = kSpecular;
        device->SetVertexShader(kFvfScreenVertex);
        ASSERT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, v, sizeof v[0]), kOk);
    }
    uint32_t Cell(int i) const { return Pixel((i % 40) * 16 + 4, (i / 40) * 16 + 4); }
    void Stage(TextureStageState op, TextureStageState arg1, TextureStageState arg2, uint32_t o,
               uint32_t a1, uint32_t a2) {
        device->SetTextureStageState(0, op, o);
        device->SetTextureStageState(0, arg1, a1);
        device->SetTextureStageState(0, arg2, a2);
    }

    GfxTexture* texture_ = nullptr;
};

struct Case {
    uint32_t op, arg1, arg2;
};

// Operations 2..14 with texture and diffuse, and the modifiers on other selectors.
std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (uint32_t op = 2; op <= 14; ++op) cases.push_back({op, 2, 0});
    cases.push_back({4, 2 | kComplement, 0});
    cases.push_back({4, 2 | kReplicateAlpha, 0});
    cases.push_back({4, 3 | kComplement | kReplicateAlpha, 1});
    cases.push_back({7, 3, 4});  // factor + specular
    cases.push_back({10, 0 | kComplement, 4});
    cases.push_back({40, 2, 9});  // an unknown operation modulates; an unknown selector is diffuse
    return cases;
}

TEST_F(GlStageOpsTest, ColourOperationsMatchTheirFormulas) {
    const std::vector<Case> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Stage(TextureStageState::ColorOp, TextureStageState::ColorArg1,
              TextureStageState::ColorArg2, c.op, c.arg1, c.arg2);
        DrawCell(int(i));
    }
    Read();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Rgba a1 = ArgValue(c.arg1), a2 = ArgValue(c.arg2);
        uint32_t expected =
            ToArgb(Combine(c.op, a1.r, a2.r), Combine(c.op, a1.g, a2.g), Combine(c.op, a1.b, a2.b));
        EXPECT_TRUE(ColourNear(Cell(int(i)), expected, 1))
            << "op " << c.op << " args " << c.arg1 << ", " << c.arg2;
    }
}

TEST_F(GlStageOpsTest, AlphaOperationsMatchTheirFormulas) {
    // The colour is the factor's (white-ish), blended over black by the stage's alpha.
    device->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    device->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    device->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::TFactor);
    const std::vector<Case> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Stage(TextureStageState::AlphaOp, TextureStageState::AlphaArg1,
              TextureStageState::AlphaArg2, c.op, c.arg1, c.arg2);
        DrawCell(int(i));
    }
    Read();
    const Rgba f = FromArgb(kFactor);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        double a = Combine(c.op, ArgValue(c.arg1).a, ArgValue(c.arg2).a);
        EXPECT_TRUE(ColourNear(Cell(int(i)), ToArgb(f.r * a, f.g * a, f.b * a), 2))
            << "op " << c.op << " args " << c.arg1 << ", " << c.arg2;
    }
}

TEST_F(GlStageOpsTest, EveryAlphaTestFunctionComparesTheRoundedAlpha) {
    device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg2);
    device->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    device->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg2);
    device->SetTextureStageState(0, TextureStageState::AlphaArg2, TextureArg::Diffuse);
    device->SetRenderState(RenderState::AlphaTestEnable, 1u);
    device->SetRenderState(RenderState::AlphaRef, 0x80u);
    const uint32_t alphas[3] = {0x7F, 0x80, 0x81};
    for (uint32_t func = 1; func <= 8; ++func) {
        device->SetRenderState(RenderState::AlphaFunc, func);
        for (int k = 0; k < 3; ++k) DrawCell(int(func * 3 + k), alphas[k] << 24 | 0xFFFFFF);
    }
    Read();
    // Never, less, equal, less-equal, greater, not-equal, greater-equal, always.
    auto passes = [](uint32_t func, uint32_t a) {
        const bool lt = a<0x80, eq = a == 0x80, gt = a> 0x80;
        const bool result[] = {false, lt, eq, lt || eq, gt, !eq, gt || eq, true};
        return result[func - 1];
    };
    for (uint32_t func = 1; func <= 8; ++func)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(Cell(int(func * 3 + k)) == 0xFFFFFFFFu, passes(func, alphas[k]))
                << "function " << func << " alpha " << alphas[k];
}

}  // namespace
