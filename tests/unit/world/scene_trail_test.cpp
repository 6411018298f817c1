#include "character_test_util.h"
#include "scene_test_util.h"

namespace {

using SceneTrailTest = SceneTest;

}  // namespace

TEST_F(SceneTrailTest, SamplingFillsTheSwingAndStopsAtAFullTable) {
    Character& c = g_Characters[1];
    c.bladeLength = 500;
    c.position = Vector3{1000, 0, 0};
    StartWeaponTrail(0xFF00FF00, 1);
    EXPECT_EQ(g_WeaponTrail.count, 0);
    EXPECT_EQ(g_WeaponTrail.points[255].y, 500.0f);  // the tip, copied 256 times
    SampleWeaponTrail();                             // sampling off
    EXPECT_EQ(g_WeaponTrail.count, 0);

    g_TrailSampling = 1;
    SampleWeaponTrail();
    ASSERT_EQ(g_WeaponTrail.count, 20);
    EXPECT_EQ(g_WeaponTrail.points[0].y, 180.0f);  // base
    EXPECT_EQ(g_WeaponTrail.points[1].y, 500.0f);  // tip
    // 100 units between two frames: ten pairs evenly along the way.
    c.position.x = 1100;
    SampleWeaponTrail();
    ASSERT_EQ(g_WeaponTrail.count, 40);
    for (int s = 1; s <= 10; ++s)
        EXPECT_NEAR(g_WeaponTrail.points[18 + s * 2].x, 1000.0f + 10.0f * s, 0.01f) << s;

    for (int i = 0; i < 60; ++i) SampleWeaponTrail();
    EXPECT_EQ(g_WeaponTrail.count, kTrailPointCount);
    StartWeaponTrail(0, 20);  // no such character: nothing to sample
    SampleWeaponTrail();
    EXPECT_EQ(g_WeaponTrail.count, 0);
}

TEST_F(SceneTrailTest, DrawsNewestPairsFirstAndFadesAway) {
    StartWeaponTrail(0x123456, 1);
    g_WeaponTrail.count = 1;
    DrawWeaponTrail();
    EXPECT_TRUE(Draws().empty());  // no full quad

    StartWeaponTrail(0x123456, 1);
    for (int i = 0; i < 14; ++i) g_WeaponTrail.points[i] = Vector3{float(i), 0, 0};
    g_WeaponTrail.count = 14;  // 7 pairs: 6 strips
    DrawWeaponTrail();
    ASSERT_EQ(Draws().size(), 6u);
    const auto& newest = Draws()[0];
    // Pairs 5 and 6.
    EXPECT_EQ(std::tuple(Wv(newest, 0).x, Wv(newest, 0).diffuse, Wv(newest, 1).diffuse),
              std::tuple(10.0f, 0x20123456u, 0xA0123456u));
    EXPECT_EQ(Wv(Draws()[1], 1).diffuse >> 24, 152u);  // faded after j = 5: 0xA0 x 0.95
    EXPECT_EQ(Wv(Draws()[5], 0).x, 0.0f);
    int frames = 1;
    while (g_WeaponTrail.count != 0 && frames < 100) {
        DrawWeaponTrail();
        ++frames;
    }
    EXPECT_EQ(frames, 29);  // 0.9^29 < 0.05 <= 0.9^28
}

TEST_F(SceneTrailTest, CharactersStepTheirAnimationAndHangTheWeaponOnTheBone) {
    Character& c = g_Characters[0];
    BuildModel(c.model, {"wea_b"}, {{0, "fld_stand", {0, 50}}});
    c.model.bones[1]->origin = Vector3{0, 100, 0};
    c.active = 1;
    c.SetMotion(0, 0);
    c.weaponBone = c.model.bones[1].get();
    c.weaponMesh = std::make_unique<XMeshHolder>();
    c.weaponMesh->load("box", "Q3D\\");
    c.position = Vector3{1000, 0, -500};
    c.rotation.y = 90.0f * kDegToRad;
    g_FrameTime = 20;  // two 8 ms steps
    DrawCharacters();
    EXPECT_EQ(c.model.GetAnimationTime(), 2);
    ASSERT_EQ(Draws().size(), 1u);  // the model has no meshes: the weapon alone
    // The bone as this frame posed it, turned and placed with the character.
    Vector3 bone = c.weaponBone->worldPosition, at = Where(Draws()[0].state.world);
    Matrix44 world;
    c.WorldMatrix(world);
    bone.Transform(world);
    EXPECT_TRUE(Near(at, bone.x, 100.0f, bone.z, 1e-3f));
    EXPECT_LT(at.z, -501.0f);  // the bone moved along x, turned to -z
}

TEST_F(SceneTrailTest, ProjectionCentresTheTargetAndDividesByZPlusOne) {
    PlaceCamera(Vector3{3000, 300, -1000}, Vector3{3000, 300, -5000});
    g_Characters[7].position = Vector3{3000, 300, -5000};
    ScreenPoint p = ProjectCharacter(7);
    EXPECT_EQ(std::tuple(p.x, p.y), std::tuple(320, 240));
    EXPECT_LT(ProjectToScreen(3000, 600, -5000).y, 240);

    TestView().view.Identity();
    TestView().projection.Identity();
    p = ProjectToScreen(0.5f, 0.5f, 1.0f);  // k = 1 / 2, not the w divide's (480, 120)
    EXPECT_EQ(std::tuple(p.x, p.y), std::tuple(400, 180));
    p = ProjectToScreen(1.0f, -1.0f, -1.0f);  // divisor 0
    EXPECT_EQ(p.x, INT32_MAX);
    EXPECT_EQ(ProjectToScreen(0, 0, -1.0f).x, 0);  // 0 / 0
}
