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

// Where sprites, rectangles and window boxes land is seen in the pixel and end-to-end tests;
// here, the states they leave behind.
TEST_F(SpriteTest, SpritesLeaveTheDepthTestOffAndRectanglesTurnItBackOn) {
    TextureSlot slot{nullptr, 0, 0};  // an empty slot still gives finite coordinates
    DrawSprite(10, 20, slot, 32, 64, 32, 16);
    ASSERT_EQ(rec->draws.size(), 1u);
    for (uint32_t i = 0; i < 6; ++i)
        EXPECT_TRUE(std::isfinite(V(0, i).u) && std::isfinite(V(0, i).v));
    EXPECT_EQ(rec->draws[0].state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(g_pd3dDevice->GetRenderState(RenderState::ZEnable), 0u);
    g_pd3dDevice->SetTexture(0, nullptr);
    DrawScreenRect(0, 0, 640, 480, 0x80000000);
    DrawWindowBox(10, 20, 100, 50);
    ASSERT_EQ(rec->draws.size(), 3u);
    for (size_t d = 1; d < 3; ++d) {
        EXPECT_EQ(rec->draws[d].state.texture, nullptr);
        EXPECT_EQ(rec->draws[d].state.Rs(RenderState::ZEnable), 0u);
        EXPECT_EQ(rec->draws[d].state.Rs(RenderState::AlphaBlendEnable), 1u);
    }
    EXPECT_EQ(g_pd3dDevice->GetRenderState(RenderState::ZEnable), 1u);
    EXPECT_EQ(V(1, 5).diffuse, 0x80000000u);
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
