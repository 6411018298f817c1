#include "scene_test_util.h"

namespace {

using SceneObjectsTest = SceneTest;

FieldObject Object(int32_t kind, uint32_t colour = 0xFF336699) {
    FieldObject o;
    o.kind = kind;
    o.colour = colour;
    o.scale = Vector3{1, 1, 1};
    return o;
}

}  // namespace

TEST_F(SceneObjectsTest, RingIsTransparentInsideAndClosesItsCircle) {
    FieldObject o = Object(kObjectRing, 0xF0112233);
    o.scale = Vector3{100, 0, 20};  // radius 100, width 20
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 32u);
    const auto& first = Draws()[0];
    EXPECT_EQ(first.state.Rs(RenderState::CullMode), uint32_t(Cull::None));
    // inner a, outer a, inner b, outer b; a quarter of the alpha inside.
    EXPECT_EQ(Wv(first, 0).diffuse, 0x3C112233u);
    EXPECT_NEAR(Wv(first, 0).z, 100.0f, 0.01f);
    EXPECT_NEAR(Wv(first, 1).z, 120.0f, 0.01f);
    EXPECT_NEAR(Wv(Draws().back(), 2).x, Wv(first, 0).x, 0.05f);
}

TEST_F(SceneObjectsTest, CrystalsAreMirroredPyramidsAndACircleStandsSeven) {
    FieldObject o = Object(kObjectCrystal, 0x80FF8040);
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Wv(Draws()[0], 0).y, -100.0f);                 // apex below
    EXPECT_EQ(Wv(Draws()[0], 0).diffuse, 0x807F4020u);       // dimmed
    EXPECT_FLOAT_EQ(Draws()[1].state.world.m[1][1], -1.0f);  // mirrored, so culled the other way
    EXPECT_EQ(Draws()[1].state.Rs(RenderState::CullMode), uint32_t(Cull::Clockwise));

    backend.draws.clear();
    o = Object(kObjectCrystalCircle);
    o.position = Vector3{1000, 0, -1000};
    o.scale = Vector3{90, 3, 400};  // start angle 90 degrees, height x3, radius 400
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 14u);
    EXPECT_FLOAT_EQ(Draws()[0].state.world.m[1][1], 3.0f);
    for (int i = 0; i < 7; ++i) {  // by the engine's own sine and cosine
        const float a = (i / 7.0f * 360.0f + 90.0f) * kDegToRad;
        Vector3 p = Where(Draws()[i * 2].state.world);
        EXPECT_NEAR(p.x, 1000.0f + TaylorSin(a) * 400.0f, 0.01f) << i;
        EXPECT_NEAR(p.z, -1000.0f + TaylorCos(a) * 400.0f, 0.01f) << i;
    }
}

TEST_F(SceneObjectsTest, MeshNeedsAMeshAndFlashNeedsACharacter) {
    FieldObject o = Object(kObjectMesh, 0x00FFFFFF);
    DrawFieldObject(o);  // no mesh
    EXPECT_TRUE(Draws().empty());
    GiveMesh(4);
    o.mesh = g_FieldObjects[4].mesh;
    DrawFieldObject(o);
    o.colour = 0x01000000;
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Draws()[0].state.Rs(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(Draws()[1].state.Rs(RenderState::AlphaBlendEnable), 1u);

    backend.draws.clear();
    Character& c = g_Characters[4];
    c.position = Vector3{2000, 0, -3000};
    c.bladeLength = 300;
    o = Object(kObjectWeaponFlash);
    for (float n : {20.0f, -1.0f, 1e30f, std::nanf(""), 4.7f}) {  // only 4.7 is a character
        o.position.x = n;
        DrawFieldObject(o);
    }
    ASSERT_EQ(Draws().size(), 4u);
    for (const auto& d : Draws())  // four quads turned about the tip (0, bladeLength, 32)
        EXPECT_TRUE(Near(Where(d.state.world), 2000.0f, 300.0f, -3000.0f + 32.0f, 0.01f));
    EXPECT_NEAR(Draws()[1].state.world.m[1][2], 1.0f, 1e-4f);  // 90 degrees about x
}

TEST_F(SceneObjectsTest, UnknownKindsAreReportedOncePerObjectAndKind) {
    g_FieldObjects[3].kind = 9;
    g_FieldObjects[6].kind = -2;
    for (int frame = 0; frame < 3; ++frame) DrawBattleScene();
    ASSERT_EQ(g_MessageBoxLog.size(), 2u);
    g_FieldObjects[3].kind = 7;
    DrawBattleScene();
    EXPECT_EQ(g_MessageBoxLog.size(), 3u);
    EXPECT_EQ(Draws().size(), 5u * 4u);  // the sky alone
}

TEST_F(SceneObjectsTest, BillboardsFaceTheCameraWithTheirOwnDepthCompare) {
    PlaceCamera(Vector3{1000, 0, 0}, Vector3{0, 0, 0});
    TextureSlot picture{nullptr, 64, 32};
    for (int i : {2, 17}) {
        ResetBillboard(g_Billboards[i]);
        g_Billboards[i].image = &picture;
    }
    g_Billboards[2].depthFunc = 8;
    g_Billboards[2].heightFactor = 0;  // no height: shows nothing
    Billboard& b = g_Billboards[17];
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
    // 64 x 2 wide, 64 x 0.5 high, the bottom edge at the position.
    EXPECT_EQ(std::tuple(Wv(d, 0).x, Wv(d, 0).y, Wv(d, 3).y), std::tuple(-64.0f, 32.0f, 0.0f));
    EXPECT_EQ(Wv(d, 0).diffuse, 0x80FF10FFu);
}
