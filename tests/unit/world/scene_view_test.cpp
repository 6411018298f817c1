#include "character_test_util.h"
#include "scene_test_util.h"

namespace {

using SceneViewTest = SceneTest;

// Character 0 with a model whose bone 1 is "wea_b" (motion 0 moves it along x frame by frame)
// and the fixture box as its weapon.
Character& Swordsman() {
    Character& c = g_Characters[0];
    BuildModel(c.model, {"wea_b"}, {{0, "fld_stand", {0, 50}}});
    c.model.bones[1]->origin = Vector3{0, 100, 0};
    c.active = 1;
    c.SetMotion(0, 0);
    c.weaponBone = c.model.bones[1].get();
    c.weaponMesh = std::make_unique<XMeshHolder>();
    c.weaponMesh->load("box", "Q3D\\");
    return c;
}

}  // namespace

TEST_F(SceneViewTest, TargetProjectsToTheScreenCentreAndOffsetsGoTheirWay) {
    PlaceCamera(Vector3{3000, 300, -1000}, Vector3{3000, 300, -5000});
    ScreenPoint p = ProjectToScreen(3000, 300, -5000);
    EXPECT_EQ(p.x, 320);
    EXPECT_EQ(p.y, 240);
    EXPECT_LT(ProjectToScreen(3000, 600, -5000).y, 240);  // higher up is higher on screen
    // Truncation: a camera looking down may leave the target a rounding error off the centre.
    PlaceCamera(Vector3{3000, 800, -1000}, Vector3{3000, 300, -5000});
    p = ProjectToScreen(3000, 300, -5000);
    EXPECT_NEAR(p.x, 320, 1);
    EXPECT_NEAR(p.y, 240, 1);
    PlaceCamera(Vector3{3000, 300, -1000}, Vector3{3000, 300, -5000});

    g_Characters[7].position = Vector3{3000, 300, -5000};
    p = ProjectCharacter(7);
    EXPECT_EQ(p.x, 320);
    EXPECT_EQ(p.y, 240);
    p = ProjectCharacter(20);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

TEST_F(SceneViewTest, ProjectionDividesByZPlusOneAndStaysDefined) {
    TestView().view.Identity();
    TestView().projection.Identity();
    // k = 1 / (1 + 1): not the homogeneous divide, which would give (480, 120).
    ScreenPoint p = ProjectToScreen(0.5f, 0.5f, 1.0f);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 180);
    p = ProjectToScreen(-0.999f, 0, 0);
    EXPECT_EQ(p.x, 0);                        // truncated toward zero
    p = ProjectToScreen(1.0f, -1.0f, -1.0f);  // divisor 0
    EXPECT_EQ(p.x, INT32_MAX);
    EXPECT_EQ(p.y, INT32_MAX);
    p = ProjectToScreen(0.0f, 0.0f, -1.0f);  // 0 / 0
    EXPECT_EQ(p.x, 0);
    // Without a camera source the default view looks down +z from the origin.
    SetSceneViewSource(nullptr);
    p = ProjectToScreen(0, 0, 1);
    EXPECT_EQ(p.x, 320);
    EXPECT_EQ(p.y, 240);
}

TEST_F(SceneViewTest, CharactersStepTheirAnimationAndHangTheWeaponOnTheBone) {
    Character& c = Swordsman();
    c.position = Vector3{1000, 0, -500};
    c.rotation.y = 90.0f * kDegToRad;
    g_FrameTime = 20;  // two 8 ms steps
    DrawCharacters();
    EXPECT_EQ(c.model.GetAnimationTime(), 2);
    ASSERT_EQ(Draws().size(), 1u);  // the model has no meshes: only the weapon
    const auto& w = Draws()[0];
    EXPECT_EQ(w.state.Rs(RenderState::Lighting), 1u);
    EXPECT_EQ(w.state.Rs(RenderState::ColorVertex), 0u);
    EXPECT_EQ(w.state.Rs(RenderState::AmbientMaterialSource), 0u);
    // The bone's pose from this frame, turned and placed with the character.
    Vector3 bone = c.weaponBone->worldPosition;
    Matrix44 world;
    c.WorldMatrix(world);
    bone.Transform(world);
    Vector3 at = Where(w.state.world);
    EXPECT_NEAR(at.x, bone.x, 1e-3f);
    EXPECT_NEAR(at.y, bone.y, 1e-3f);
    EXPECT_NEAR(at.z, bone.z, 1e-3f);
    EXPECT_NEAR(at.y, 100.0f, 1e-3f);
    EXPECT_LT(at.z, -501.0f);  // the bone moved along x, turned to -z

    // No weapon bone, or a free slot: no weapon.
    backend.draws.clear();
    c.weaponBone = nullptr;
    DrawCharacters();
    EXPECT_TRUE(Draws().empty());
    c.weaponBone = c.model.bones[1].get();
    c.active = 0;
    DrawCharacters();
    EXPECT_TRUE(Draws().empty());
}
