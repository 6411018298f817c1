// The weapon file: the weapon mesh, the trail colour and the blade length of a fighter.
#include <tuple>

#include "battle_file_fixture.h"
#include "world/weapon_data.h"

namespace {

class WeaponFileTest : public BattleFileTest {
protected:
    void SetUp() override {
        BattleFileTest::SetUp();
        g_Fighters[3] = new FighterRecord();
    }
};

TEST_F(WeaponFileTest, MeshTrailColourAndBladeThenNoReleasesTheMeshAlone) {
    g_Fighters[3]->weapon = 1;  // "box", 511,128,64,32, 250.5 with "\r\n" line ends
    LoadWeapon(3, 0);
    const Character& c = g_Characters[3];
    ASSERT_NE(c.weaponMesh, nullptr);
    EXPECT_NE(c.weaponMesh->mesh, nullptr);
    // ARGB, the low 8 bits of each value.
    EXPECT_EQ(std::tuple(g_pBattle->trailColour[3], c.bladeLength),
              std::tuple(0x20FF8040u, 250.5f));

    g_Fighters[3]->weapon = 0;  // "NO"
    LoadWeapon(3, 0);
    EXPECT_EQ(c.weaponMesh, nullptr);
    EXPECT_EQ(std::tuple(g_pBattle->trailColour[3], c.bladeLength),
              std::tuple(0x20FF8040u, 250.5f));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(WeaponFileTest, MissingOrDamagedFilesKeepTheOldValues) {
    g_Fighters[3]->weapon = 77;
    LoadWeapon(3, 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"武器情報ファイルが見つかりません！"});
    EXPECT_EQ(g_Characters[3].weaponMesh, nullptr);

    g_MessageBoxLog.clear();
    g_Characters[3].bladeLength = 9.0f;
    g_Fighters[3]->weapon = 3;  // "255,abc,"
    LoadWeapon(3, 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("w-3.qd"), std::string::npos);
    EXPECT_NE(g_Characters[3].weaponMesh, nullptr);  // the mesh line was fine
    EXPECT_EQ(std::tuple(g_pBattle->trailColour[3], g_Characters[3].bladeLength),
              std::tuple(kDefaultTrailColour, 9.0f));
}

TEST_F(WeaponFileTest, GuardSlotReadsOnlyTheMeshOfTheGuardNumber) {
    g_Fighters[3]->guard = 4;  // "box" and nothing else
    LoadWeapon(3, 1);
    EXPECT_NE(g_Characters[3].guardMesh, nullptr);
    EXPECT_EQ(g_Characters[3].weaponMesh, nullptr);

    // Fighters without a record, outside the table, or other slots read nothing; without a
    // battle the colour has nowhere to go and the blade is read all the same.
    LoadWeapon(4, 0);
    LoadWeapon(8, 0);
    g_pBattle.reset();
    LoadWeapon(3, 0);
    EXPECT_EQ(g_Characters[3].bladeLength, 250.5f);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(WeaponFileTest, LinesLongerThanTheirFieldsAreCutAndNamed) {
    testing::internal::CaptureStderr();
    WeaponFile w;
    const std::string mesh(70, 'm'), name = "a" + std::string(24, '\x82') + "x";
    ASSERT_TRUE(ReadWeaponText(mesh + "\n1,2,3,4,\n5.0\n" + name + "\n", 0, "Wea\\w-9.qd", w));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::tuple(w.meshName, w.name.size(), w.bladeLength),
              std::tuple(mesh.substr(0, 63), size_t(19), 5.0f));
    EXPECT_NE(log.find("w-9.qd:1: the mesh name is 70 bytes long; its first 63 are used"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("w-9.qd:4: the shown name is 26 bytes long; the menus show its first 19"),
              std::string::npos)
        << log;
}

}  // namespace
