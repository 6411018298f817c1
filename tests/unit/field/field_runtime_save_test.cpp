// What the field keeps across a battle: characters loaded again from their files at their
// field placements, the camera and the field's music.
#include <array>
#include <cmath>
#include <cstring>
#include <tuple>

#include "app/world_reset.h"
#include "character_test_util.h"
#include "field/field_save.h"
#include "sound/bgm.h"
#include "world/field_camera.h"

namespace {

class FieldSaveTest : public CharacterTest {
protected:
    void SetUp() override {
        CharacterTest::SetUp();
        ResetGameWorld();
        g_FieldSave = std::make_unique<FieldSave>();
        SaveModel("hero.rzo", {"wea_b", "gua_b", "head_b"},
                  {{0, "fld_stand", {0, 8}},
                   {1, "fld_walk", {0, 8}},
                   {2, "walk", {0, 8}},
                   {3, "btl_stance", {0, 8}}});
    }
    void TearDown() override {
        ResetGameWorld();
        CharacterTest::TearDown();
    }
};

TEST_F(FieldSaveTest, BattleLeavesTheFieldAsItWas) {
    Character& leader = g_Characters[0];
    leader.LoadCharacter("hero");
    leader.position = Vector3{100.0f, 5.0f, -200.0f};
    leader.rotation.y = 1.0f;
    leader.scale = Vector3{3.0f, 3.0f, 3.0f};  // a script made it bigger than its file says
    g_Camera.target = Vector3{100.0f, 325.0f, -200.0f};
    g_Camera.angle = 0.7f;
    g_Camera.distance = 1800.0f;
    g_Camera.eye.y = 2500.0f;
    std::strcpy(g_FieldMusicName, "town");
    SaveFieldState();

    // The battle moves, arms and replaces what it likes.
    leader.position = Vector3{0.0f, 0.0f, 1024.0f};
    leader.LoadEquipment(kWeaponSlot, "box");
    leader.SetMotion(3, 1);
    g_Characters[5].LoadCharacter("hero");
    g_Camera = Camera{};
    PlayBgm("btl0");

    RestoreFieldState();
    EXPECT_EQ(std::tuple(leader.position.z, leader.rotation.y, leader.scale.x),
              std::tuple(-200.0f, 1.0f, 3.0f));
    EXPECT_EQ(leader.weaponMesh, nullptr);
    EXPECT_EQ(leader.model.GetCurrentAnimation(), 0u);
    // Only its field motions are left (and those the prefix rule lets through).
    const RZ_Model& m = leader.model;
    EXPECT_EQ(
        (std::array{m.HasAnimation(0), m.HasAnimation(1), m.HasAnimation(2), m.HasAnimation(3)}),
        (std::array{true, true, false, true}));
    // A slot that was free on the field is free again, its battle model gone.
    EXPECT_EQ(g_Characters[5].active, 0);
    EXPECT_TRUE(g_Characters[5].model.vertices.empty());
    EXPECT_FALSE(g_Characters[5].model.HasAnimation(0));

    EXPECT_FLOAT_EQ(g_Camera.eye.y, 2500.0f);
    EXPECT_NEAR(g_Camera.eye.x, 100.0f + std::sin(0.7f) * 1800.0f, 0.01f);
    EXPECT_NEAR(g_Camera.eye.z, -200.0f + std::cos(0.7f) * 1800.0f, 0.01f);
    EXPECT_EQ(CurrentBgmName(), "town");
}

}  // namespace
