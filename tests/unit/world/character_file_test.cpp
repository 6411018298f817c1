#include <string>
#include <tuple>
#include <vector>

#include "app/quit.h"
#include "character_test_util.h"

namespace {

class CharacterFileTest : public CharacterTest {
protected:
    void SetUp() override {
        CharacterTest::SetUp();
        SaveModel("hero.rzo", {"body", "wea_b", "gua_b", "head_b"}, {{0, "fld_stand", {0, 10}}},
                  "skin.bmp");
    }
};

TEST_F(CharacterFileTest, FileGivesModelScaleSizesAndBones) {
    Character& c = g_Characters[3];
    c.queuedMotion = 5;
    c.LoadCharacter("hero");  // "\r\n" line ends
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(c.collisionSize, 300.0f);
    EXPECT_NE(c.model.materials[0].texture, nullptr);  // the skin from the chara folder
    EXPECT_EQ(c.motionFlags, kMotionPlaying | kMotionLooping);
    EXPECT_EQ(c.queuedMotion, 0);
    EXPECT_EQ(c.guardBone, c.model.GetBone(3));
}

TEST_F(CharacterFileTest, MissingBonesAreReportedInSearchOrderAndLoadingGoesOn) {
    SaveModel("headonly.rzo", {"wea_b2", "head_b", "gua"}, {});  // near misses do not count
    Character& c = g_Characters[0];
    c.LoadCharacter("headonly");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"wea_bが見つからん", "gua_bが見つからん"}));
    EXPECT_EQ(std::tuple(c.weaponBone, c.headBone, c.active),
              std::tuple(nullptr, c.model.GetBone(2), 1));

    // A model without a skeleton (here: one that is not there) is not asked for its bones.
    g_MessageBoxLog.clear();
    g_Characters[1].LoadCharacter("nomodel");
    EXPECT_EQ(BoxTexts().size(), 0u);
    EXPECT_EQ(std::tuple(g_Characters[1].headBone, g_Characters[1].active), std::tuple(nullptr, 1));
}

TEST_F(CharacterFileTest, MissingOrDamagedFileEmptiesTheModelAndKeepsTheSlot) {
    Character& c = g_Characters[2];
    c.LoadCharacter("hero");
    c.LoadCharacter("nobody");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"キャラデータファイル読み込み失敗"});
    // The bones went with the model.
    EXPECT_EQ(std::tuple(c.active, c.model.BoneCount(), c.weaponBone), std::tuple(1, 1, nullptr));

    // A file that stops early is reported once, with its path and the item.
    g_Characters[4].LoadCharacter("short");
    ASSERT_EQ(g_MessageBoxLog.size(), 2u);
    const std::string& text = g_MessageBoxLog[1].text;
    EXPECT_NE(text.find("short.qd\n3番目の数値が読めません"), std::string::npos) << text;
    EXPECT_EQ(g_Characters[4].active, 0);
}

TEST_F(CharacterFileTest, ReloadAndEscapeReleaseTheModelTextures) {
    Character& c = g_Characters[0];
    c.LoadCharacter("hero");
    const size_t textures = device->LiveTextureCount();
    c.LoadCharacter("hero");
    EXPECT_EQ(device->LiveTextureCount(), textures);

    // Escape frees the models of active characters; the records stay.
    g_Characters[7].LoadCharacter("hero");
    g_Characters[7].active = 0;
    ReleaseWorldOnQuit();
    EXPECT_EQ(std::tuple(c.active, c.model.BoneCount(), c.weaponBone), std::tuple(1, 1, nullptr));
    EXPECT_EQ(g_Characters[7].model.BoneCount(), 5);
}

}  // namespace
