#include "scene_test_util.h"

namespace {

class SceneBillboardsTest : public SceneTest {
protected:
    TextureSlot picture{nullptr, 64, 32};

    Billboard& Board(int i) {
        Billboard& b = g_Billboards[i];
        ResetBillboard(b);
        b.image = &picture;
        return b;
    }
};

}  // namespace

TEST_F(SceneBillboardsTest, OnlyBillboardsWithImagesDrawWithTheirOwnDepthCompare) {
    Board(2).depthFunc = 8;  // always: stays in front
    Billboard& b = Board(17);
    b.position = Vector3{100, 50, -200};
    b.widthScale = 2.0f;
    b.heightScale = 0.5f;
    b.red = 0x1FF;  // low 8 bits only
    b.green = 0x10;
    b.blue = -1;
    b.alpha = 0x80;
    DrawBillboards();
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Draws()[0].state.Rs(RenderState::ZFunc), 8u);
    const auto& d = Draws()[1];
    EXPECT_EQ(d.state.Rs(RenderState::ZFunc), 4u);
    EXPECT_EQ(d.state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(d.state.Rs(RenderState::Lighting), 0u);
    EXPECT_EQ(d.call.type, PrimitiveType::TriangleStrip);
    // 64 pixels x 2 wide, 64 x 0.5 high, bottom edge at the position.
    EXPECT_EQ(Wv(d, 0).x, -64.0f);
    EXPECT_EQ(Wv(d, 0).y, 32.0f);
    EXPECT_EQ(Wv(d, 3).x, 64.0f);
    EXPECT_EQ(Wv(d, 3).y, 0.0f);
    EXPECT_EQ(Wv(d, 0).diffuse, 0x80FF10FFu);
    Vector3 at = Where(d.state.world);
    EXPECT_EQ(at.x, 100.0f);
    EXPECT_EQ(at.y, 50.0f);
    EXPECT_EQ(at.z, -200.0f);
    EXPECT_EQ(device->GetRenderState(RenderState::ZFunc), 4u);
    EXPECT_EQ(device->GetRenderState(RenderState::AlphaBlendEnable), 0u);
}

TEST_F(SceneBillboardsTest, PictureTurnsToTheCameraAndHeightFactorZeroShowsNothing) {
    PlaceCamera(Vector3{1000, 0, 0}, Vector3{0, 0, 0});
    Billboard& b = Board(0);
    b.heightFactor = 0.0f;
    Board(1);
    DrawBillboards();
    ASSERT_EQ(Draws().size(), 2u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Wv(Draws()[0], i).y, 0.0f);
    // Seen along -x, the picture's plane is the y-z plane and its front (-z locally) points
    // back at the camera.
    const Matrix44& w = Draws()[1].state.world;
    Vector3 normal{-w.m[2][0], -w.m[2][1], -w.m[2][2]};
    EXPECT_NEAR(normal.x, 1.0f, 1e-4f);
    EXPECT_NEAR(normal.z, 0.0f, 1e-4f);
    EXPECT_NEAR(w.m[1][1], 1.0f, 1e-4f);  // stays upright
}
