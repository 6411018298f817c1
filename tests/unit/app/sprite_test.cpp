#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/modes.h"
#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "test_support.h"

namespace {

class SpriteTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        auto backend = std::make_unique<RecordingBackend>();
        rec = backend.get();
        ASSERT_TRUE(InitD3D(std::move(backend)));
        ResetSpriteParameters();
        ResetModes();
    }
    void TearDown() override {
        ReleaseD3D();
        ResetModes();
        HeadlessHostTest::TearDown();
    }
    const ScreenVertex& V(size_t draw, uint32_t i) {
        return rec->Vertex<ScreenVertex>(rec->draws.at(draw), i);
    }
    RecordingBackend* rec = nullptr;
};

}  // namespace

TEST_F(SpriteTest, SpriteCutsItsSourceRectangleOutOfTheSlot) {
    TextureSlot slot{nullptr, 256, 128};
    DrawSprite(10, 20, slot, 32, 64, 32, 16);
    ASSERT_EQ(rec->draws.size(), 1u);
    const auto& d = rec->draws[0];
    // (P0, P1, P2), (P0, P2, P3) with u from 0.125 to 0.25 and v from 0.5 to 0.625.
    const float xs[6] = {10, 42, 42, 10, 42, 10}, ys[6] = {20, 20, 36, 20, 36, 36};
    const float us[6] = {0.125f, 0.25f, 0.25f, 0.125f, 0.25f, 0.125f};
    const float vs[6] = {0.5f, 0.5f, 0.625f, 0.5f, 0.625f, 0.625f};
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(V(0, i).x, xs[i]) << i;
        EXPECT_FLOAT_EQ(V(0, i).y, ys[i]) << i;
        EXPECT_FLOAT_EQ(V(0, i).u, us[i]) << i;
        EXPECT_FLOAT_EQ(V(0, i).v, vs[i]) << i;
    }
    EXPECT_EQ(d.state.Rs(RenderState::ZEnable), 0u);  // left off after a sprite
    EXPECT_EQ(d.state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(g_pd3dDevice->GetRenderState(RenderState::ZEnable), 0u);
}

TEST_F(SpriteTest, SpriteParametersApplyOnceAboutTheCentre) {
    TextureSlot slot{nullptr, 64, 64};
    SetSpriteRotation(90.0f, 16, 16);
    SetSpriteScale(2.0f, 1.0f);
    SetSpriteBlend(1, 0x80FF0000);
    DrawSprite(100, 100, slot, 0, 0, 32, 32);
    // P0 = (100, 100): offset (-16, -16), scaled (-32, -16), turned by 90 degrees -> (16, -32).
    EXPECT_NEAR(V(0, 0).x, 116 + 16, 1e-3);
    EXPECT_NEAR(V(0, 0).y, 116 - 32, 1e-3);
    EXPECT_EQ(V(0, 0).diffuse, 0x80FF0000u);
    EXPECT_EQ(rec->draws[0].state.Rs(RenderState::SrcBlend), uint32_t(Blend::One));
    // The next sprite is back to the defaults.
    DrawSprite(100, 100, slot, 0, 0, 32, 32);
    EXPECT_FLOAT_EQ(V(1, 0).x, 100);
    EXPECT_FLOAT_EQ(V(1, 0).y, 100);
    EXPECT_EQ(rec->draws[1].state.Rs(RenderState::SrcBlend), uint32_t(Blend::SrcAlpha));
    // Blend mode 2 keeps whatever factors were set.
    g_pd3dDevice->SetRenderState(RenderState::SrcBlend, Blend::DestColor);
    SetSpriteBlend(2, 0xFFFFFFFF);
    DrawSprite(0, 0, slot, 0, 0, 8, 8);
    EXPECT_EQ(rec->draws[2].state.Rs(RenderState::SrcBlend), uint32_t(Blend::DestColor));
}

TEST_F(SpriteTest, EmptySlotGivesFiniteCoordinates) {
    TextureSlot slot{nullptr, 0, 0};
    DrawSprite(0, 0, slot, 4, 4, 8, 8);
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(V(0, i).u));
        EXPECT_TRUE(std::isfinite(V(0, i).v));
    }
}

TEST_F(SpriteTest, RectanglesBlendWithoutTextureAndTurnTheDepthTestBackOn) {
    g_pd3dDevice->SetTexture(0, nullptr);
    DrawScreenRect(0, 0, 640, 480, 0x80000000);
    DrawWindowBox(10, 20, 100, 50);
    ASSERT_EQ(rec->draws.size(), 2u);
    for (const auto& d : rec->draws) {
        EXPECT_EQ(d.state.texture, nullptr);
        EXPECT_EQ(d.state.Rs(RenderState::ZEnable), 0u);
        EXPECT_EQ(d.state.Rs(RenderState::AlphaBlendEnable), 1u);
    }
    EXPECT_EQ(g_pd3dDevice->GetRenderState(RenderState::ZEnable), 1u);
    for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(V(0, i).diffuse, 0x80000000u);
    // Window box corners: P0, P1, P2, P0, P2, P3.
    const uint32_t box[6] = {0xA00000A0, 0xC0000040, 0xA00000A0,
                             0xA00000A0, 0xA00000A0, 0xC0000040};
    for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(V(1, i).diffuse, box[i]) << i;
    EXPECT_FLOAT_EQ(V(1, 2).x, 110);
    EXPECT_FLOAT_EQ(V(1, 2).y, 70);
}

TEST_F(SpriteTest, FadeOverlayCoversTheScreenWithTheLowBytesOfItsRecord) {
    FrameDispatch();
    EXPECT_TRUE(rec->draws.empty());  // alpha 0: no overlay
    g_FadeAlpha = 0x180;              // only the low 8 bits count
    g_FadeR = 0x1FF;
    g_FadeG = 0x10;
    g_FadeB = -1;
    FrameDispatch();
    ASSERT_EQ(rec->draws.size(), 1u);
    EXPECT_EQ(V(0, 0).diffuse, 0x80FF10FFu);
    EXPECT_FLOAT_EQ(V(0, 2).x, 640);
    EXPECT_FLOAT_EQ(V(0, 2).y, 480);
}

TEST_F(SpriteTest, GradientRectGivesEachCornerItsColour) {
    const uint32_t colours[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};  // TL TR BL BR
    DrawGradientRect(5, 6, 30, 40, colours);
    ASSERT_EQ(rec->draws.size(), 1u);
    // (P0, P1, P2), (P0, P2, P3) going round top-left, top-right, bottom-right, bottom-left.
    const float xs[6] = {5, 35, 35, 5, 35, 5}, ys[6] = {6, 6, 46, 6, 46, 46};
    const uint32_t cs[6] = {0x11111111, 0x22222222, 0x44444444, 0x11111111, 0x44444444, 0x33333333};
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(V(0, i).x, xs[i]) << i;
        EXPECT_FLOAT_EQ(V(0, i).y, ys[i]) << i;
        EXPECT_EQ(V(0, i).diffuse, cs[i]) << i;
    }
}
