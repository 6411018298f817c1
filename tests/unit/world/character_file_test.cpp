#include <cstring>
#include <string>
#include <vector>

#include "app/quit.h"
#include "character_test_util.h"
#include "gfx/texture.h"

namespace {

const std::vector<std::string> kAllBones = {"body", "wea_b", "gua_b", "head_b"};

class CharacterFileTest : public CharacterTest {
protected:
    void SaveHero() {
        SaveModel("hero.rzo", kAllBones, {{0, "fld_stand", {0, 10}}, {1, "fld_walk", {0, 20}}},
                  /*textured=*/true);
    }
};

TEST_F(CharacterFileTest, CharacterFileGivesModelScaleSizesAndBones) {
    SaveHero();
    Character& c = g_Characters[3];
    c.queuedMotion = 5;
    c.LoadCharacter("hero");  // hero.qd has "\r\n" line ends

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(c.active, 1);
    EXPECT_STREQ(c.fileName, "hero");
    EXPECT_EQ(c.scale.x, 2.0f);
    EXPECT_EQ(c.scale.y, 2.0f);
    EXPECT_EQ(c.scale.z, 2.0f);
    EXPECT_EQ(c.fileValue, 0.5f);
    EXPECT_EQ(c.collisionSize, 300.0f);

    // The model came from the chara folder with its texture, standing in a loop.
    EXPECT_EQ(c.model.BoneCount(), 5);
    EXPECT_EQ(c.model.materials[0].texture != nullptr, true);
    EXPECT_EQ(c.model.GetCurrentAnimation(), 0u);
    EXPECT_EQ(c.motionFlags, kMotionPlaying | kMotionLooping);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(c.queuedMotion, 0);

    ASSERT_NE(c.weaponBone, nullptr);
    ASSERT_NE(c.guardBone, nullptr);
    ASSERT_NE(c.headBone, nullptr);
    EXPECT_EQ(c.weaponBone, c.model.GetBone(2));
    EXPECT_STREQ(c.guardBone->GetName(), "gua_b");
    EXPECT_EQ(c.headBone, c.model.GetBone(4));
}

TEST_F(CharacterFileTest, MissingBonesAreReportedInSearchOrderAndLoadingGoesOn) {
    // Names that only start like the wanted ones do not count.
    SaveModel("headonly.rzo", {"wea_b2", "head_b", "gua"}, {{0, "stand", {0, 4}}});
    Character& c = g_Characters[0];
    c.LoadCharacter("headonly");

    EXPECT_EQ(Messages(), (std::vector<std::string>{"wea_bが見つからん", "gua_bが見つからん"}));
    for (const MessageBoxRecord& r : g_MessageBoxLog) EXPECT_EQ(r.caption, "Harlo tumesto");
    EXPECT_EQ(c.weaponBone, nullptr);
    EXPECT_EQ(c.guardBone, nullptr);
    EXPECT_EQ(c.headBone, c.model.GetBone(2));
    EXPECT_EQ(c.active, 1);
    EXPECT_EQ(c.collisionSize, 128.0f);

    // A model that is not there leaves an empty one; all three bones are then missing.
    g_MessageBoxLog.clear();
    Character& d = g_Characters[1];
    d.LoadCharacter("nomodel");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"wea_bが見つからん", "gua_bが見つからん",
                                                    "head_bが見つからん"}));
    EXPECT_EQ(d.model.BoneCount(), 1);
    EXPECT_EQ(d.active, 1);
    EXPECT_EQ(d.scale.y, 1.5f);
}

TEST_F(CharacterFileTest, MissingOrDamagedFileEmptiesTheModelAndKeepsTheSlotAsItWas) {
    SaveHero();
    Character& c = g_Characters[2];
    c.LoadCharacter("hero");
    ASSERT_EQ(c.active, 1);
    ASSERT_NE(c.weaponBone, nullptr);

    c.LoadCharacter("nobody");
    ASSERT_EQ(Messages(), std::vector<std::string>{"キャラデータファイル読み込み失敗"});
    EXPECT_EQ(c.active, 1);  // as it was
    EXPECT_STREQ(c.fileName, "nobody");
    EXPECT_EQ(c.model.BoneCount(), 1);
    EXPECT_EQ(device->LiveTextureCount(), 0u);
    // The bones went with the model: nothing may draw on them any more.
    EXPECT_EQ(c.weaponBone, nullptr);
    EXPECT_EQ(c.headBone, nullptr);

    // A file that stops before its last number is reported once, naming file and item.
    g_MessageBoxLog.clear();
    Character& d = g_Characters[4];
    d.LoadCharacter("short");
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    const std::string& text = g_MessageBoxLog[0].text;
    EXPECT_EQ(text.rfind("キャラデータファイル読み込み失敗\n", 0), 0u) << text;
    EXPECT_NE(text.find("short.qd"), std::string::npos) << text;
    EXPECT_NE(text.find("3番目の数値が読めません"), std::string::npos) << text;
    EXPECT_EQ(d.active, 0);
    EXPECT_EQ(d.model.BoneCount(), 1);

    // So is an empty one; a name longer than the record keeps its first 63 bytes.
    g_MessageBoxLog.clear();
    WriteFile("chara/empty.qd", "");
    g_Characters[5].LoadCharacter("empty");
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
    const std::string longName(100, 'n');
    g_Characters[6].LoadCharacter(longName.c_str());
    EXPECT_EQ(std::strlen(g_Characters[6].fileName), 63u);
}

TEST_F(CharacterFileTest, LoadingAgainReplacesTheModelAndReleasesItsTextures) {
    SaveHero();
    Character& c = g_Characters[0];
    c.LoadCharacter("hero");
    const size_t texturesAfterOne = device->LiveTextureCount();
    ASSERT_GT(texturesAfterOne, 0u);
    c.SetMotion(1, 0);
    c.LoadCharacter("hero");
    EXPECT_EQ(device->LiveTextureCount(), texturesAfterOne);
    EXPECT_EQ(c.model.GetCurrentAnimation(), 0u);  // standing again
    EXPECT_EQ(c.weaponBone, c.model.GetBone(2));   // the new model's bone

    // Escape frees the model of every active character; the records stay.
    g_Characters[7].LoadCharacter("hero");
    g_Characters[7].active = 0;  // a script freed the slot: its model is left alone
    ReleaseWorldOnQuit();
    EXPECT_EQ(c.active, 1);
    EXPECT_EQ(c.model.BoneCount(), 1);
    EXPECT_EQ(c.weaponBone, nullptr);
    EXPECT_EQ(c.scale.x, 2.0f);
    EXPECT_EQ(g_Characters[7].model.BoneCount(), 5);
}

}  // namespace
