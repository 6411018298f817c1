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

TEST_F(SceneObjectsTest, RingLiesFlatTransparentInsideOpaqueAtItsRim) {
    FieldObject o = Object(kObjectRing, 0xF0112233);
    o.scale = Vector3{100, 0, 20};  // radius 100, width 20
    o.position = Vector3{1, 2, 3};
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 32u);
    const auto& first = Draws()[0];
    EXPECT_EQ(first.state.Rs(RenderState::CullMode), uint32_t(Cull::None));
    EXPECT_EQ(first.state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(first.state.Rs(RenderState::Lighting), 0u);
    EXPECT_EQ(first.state.texture, nullptr);
    EXPECT_EQ(Where(first.state.world).z, 3.0f);
    // inner a, outer a, inner b, outer b; alpha 0xF0 / 4 inside.
    EXPECT_EQ(Wv(first, 0).diffuse, 0x3C112233u);
    EXPECT_EQ(Wv(first, 1).diffuse, 0xF0112233u);
    EXPECT_NEAR(Wv(first, 0).z, 100.0f, 0.01f);
    EXPECT_NEAR(Wv(first, 1).z, 120.0f, 0.01f);
    EXPECT_NEAR(Wv(first, 2).x, 100.0f * std::sin(2 * 3.14159f / 32), 0.01f);
    // The last segment closes the circle where the first began.
    const auto& last = Draws().back();
    EXPECT_NEAR(Wv(last, 2).x, Wv(first, 0).x, 0.05f);
    EXPECT_NEAR(Wv(last, 3).z, 120.0f, 0.05f);
    for (const auto& d : Draws())
        for (int i = 0; i < 4; ++i) ASSERT_EQ(Wv(d, i).y, 0.0f);
}

TEST_F(SceneObjectsTest, CrystalIsTwoMirroredPyramidsFacingOut) {
    FieldObject o = Object(kObjectCrystal, 0x80FF8040);
    o.position = Vector3{0, 500, 0};
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 2u);
    const auto& lower = Draws()[0];
    const auto& upper = Draws()[1];
    EXPECT_EQ(lower.call.primitiveCount, 4u);
    EXPECT_EQ(lower.state.Rs(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    EXPECT_EQ(upper.state.Rs(RenderState::CullMode), uint32_t(Cull::Clockwise));
    EXPECT_FLOAT_EQ(upper.state.world.m[1][1], -1.0f);
    EXPECT_EQ(Where(upper.state.world).y, 500.0f);
    // Apex and second point dimmed, first point in full colour.
    EXPECT_EQ(Wv(lower, 0).y, -100.0f);
    EXPECT_EQ(Wv(lower, 0).diffuse, 0x807F4020u);
    EXPECT_EQ(Wv(lower, 1).diffuse, 0x80FF8040u);
    EXPECT_EQ(Wv(lower, 2).diffuse, 0x807F4020u);
    // Each side faces away from the axis (clockwise fronts).
    for (int t = 0; t < 4; ++t) {
        Vector3 a{Wv(lower, t * 3).x, Wv(lower, t * 3).y, Wv(lower, t * 3).z};
        Vector3 b{Wv(lower, t * 3 + 1).x, Wv(lower, t * 3 + 1).y, Wv(lower, t * 3 + 1).z};
        Vector3 c{Wv(lower, t * 3 + 2).x, Wv(lower, t * 3 + 2).y, Wv(lower, t * 3 + 2).z};
        Vector3 mid{(b.x + c.x) / 2, 0, (b.z + c.z) / 2}, n;
        b.Sub(a);
        c.Sub(a);
        Cross(n, b, c);
        EXPECT_GT(Dot(n, mid), 0.0f) << t;
    }
    EXPECT_EQ(device->GetRenderState(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(device->GetRenderState(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
}

TEST_F(SceneObjectsTest, CrystalCircleStandsSevenCrystalsOnItsRadius) {
    FieldObject o = Object(kObjectCrystalCircle);
    o.position = Vector3{1000, 0, -1000};
    o.scale = Vector3{90, 3, 400};  // start angle 90 degrees, height x3, radius 400
    o.rotation = Vector3{1, 1, 1};  // not used by the circle
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 14u);
    const Vector3 first = Where(Draws()[0].state.world);
    EXPECT_NEAR(first.x, 1400.0f, 0.5f);
    EXPECT_NEAR(first.z, -1000.0f, 0.5f);
    EXPECT_FLOAT_EQ(Draws()[0].state.world.m[1][1], 3.0f);
    EXPECT_FLOAT_EQ(Draws()[0].state.world.m[0][0], 1.0f);
    // Evenly round the circle, by the engine's own sine and cosine.
    for (int i = 0; i < 7; ++i) {
        const float a = (i / 7.0f * 360.0f + 90.0f) * kDegToRad;
        Vector3 p = Where(Draws()[i * 2].state.world);
        EXPECT_NEAR(p.x, 1000.0f + TaylorSin(a) * 400.0f, 0.01f) << i;
        EXPECT_NEAR(p.z, -1000.0f + TaylorCos(a) * 400.0f, 0.01f) << i;
    }
}

TEST_F(SceneObjectsTest, MeshObjectBlendsOnlyWithAlphaAndNeedsAMesh) {
    FieldObject o = Object(kObjectMesh, 0x00FFFFFF);
    DrawFieldObject(o);  // no mesh
    EXPECT_TRUE(Draws().empty());
    GiveMesh(4);
    o.mesh = g_FieldObjects[4].mesh;
    o.position = Vector3{10, 20, 30};
    o.scale = Vector3{2, 2, 2};
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0].state.Rs(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(Where(Draws()[0].state.world).y, 20.0f);
    EXPECT_FLOAT_EQ(Draws()[0].state.world.m[0][0], 2.0f);
    o.colour = 0x01000000;
    DrawFieldObject(o);
    EXPECT_EQ(Draws()[1].state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(device->GetRenderState(RenderState::AlphaBlendEnable), 0u);
}

TEST_F(SceneObjectsTest, WeaponFlashCrossesAtTheBladeTipOfItsCharacter) {
    Character& c = g_Characters[4];
    c.active = 1;
    c.position = Vector3{2000, 0, -3000};
    c.bladeLength = 300;
    FieldObject o = Object(kObjectWeaponFlash);
    o.position.x = 4.7f;  // truncated to character 4
    DrawFieldObject(o);
    ASSERT_EQ(Draws().size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const auto& d = Draws()[k];
        // Quads turn about the blade; all share the tip point (0, bladeLength, 32).
        Vector3 tip = Where(d.state.world);
        EXPECT_NEAR(tip.x, 2000.0f, 0.01f);
        EXPECT_NEAR(tip.y, 300.0f, 0.01f);
        EXPECT_NEAR(tip.z, -3000.0f + 32.0f, 0.01f);
        EXPECT_EQ(d.state.Rs(RenderState::CullMode), uint32_t(Cull::None));
        EXPECT_EQ(d.state.Tss(TextureStageState::MagFilter), uint32_t(TextureFilter::Point));
    }
    EXPECT_EQ(Wv(Draws()[0], 0).diffuse, 0x80C8C800u);
    EXPECT_EQ(Wv(Draws()[0], 3).diffuse, 0xC0C88000u);
    EXPECT_NEAR(Draws()[1].state.world.m[1][2], 1.0f, 1e-4f);  // 90 degrees about x

    backend.draws.clear();
    for (float n : {20.0f, -1.0f, -5000.0f, 1e30f, std::nanf("")}) {
        o.position.x = n;
        DrawFieldObject(o);
    }
    EXPECT_TRUE(Draws().empty());
}

TEST_F(SceneObjectsTest, UnknownKindsAreReportedOncePerObjectAndKind) {
    g_FieldObjects[3].kind = 9;
    g_FieldObjects[6].kind = -2;
    for (int frame = 0; frame < 3; ++frame) DrawBattleScene();
    ASSERT_EQ(g_MessageBoxLog.size(), 2u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "ID error 書くもんなし！");
    g_FieldObjects[3].kind = 7;
    DrawBattleScene();
    EXPECT_EQ(g_MessageBoxLog.size(), 3u);
    // Only the sky was drawn: no characters, hidden objects.
    EXPECT_EQ(Draws().size(), 5u * 4u);
}

TEST_F(SceneObjectsTest, BattleSceneDrawsSkyCharactersThenObjects) {
    GiveMesh(0);
    g_FieldObjects[0].kind = kObjectMesh;
    g_FieldObjects[0].scale = Vector3{1, 1, 1};
    g_FieldObjects[1] = Object(kObjectCrystal);
    DrawBattleScene();
    ASSERT_EQ(Draws().size(), 5u + 1u + 2u);
    EXPECT_EQ(Draws()[4].state.fvf, kFvfSkyVertex);
    EXPECT_EQ(Draws()[5].state.fvf, kFvfLitVertex);
    // The mesh comes after the character pass's states.
    EXPECT_EQ(Draws()[5].state.Rs(RenderState::Lighting), 1u);
    EXPECT_EQ(Draws()[6].state.fvf, kFvfWorldVertex);
}
