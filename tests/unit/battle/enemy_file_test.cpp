// The enemy status file: the fighter record of an enemy slot and its character.
#include "battle/enemy_file.h"
#include "battle_file_fixture.h"
#include "world/character_text_reader.h"

namespace {

using EnemyFileTest = BattleFileTest;

TEST_F(EnemyFileTest, FileFillsTheRecordAndLoadsTheCharacter) {
    ASSERT_EQ(g_Fighters[3], nullptr);
    ReadEnemST(3, 0);  // "\r\n" line ends
    EXPECT_TRUE(BoxTexts().empty());
    ASSERT_NE(g_Fighters[3], nullptr);  // made on first use
    const FighterRecord& r = *g_Fighters[3];
    EXPECT_STREQ(r.name, "Goblin");
    EXPECT_EQ(r.hp, 60);  // full points
    EXPECT_EQ(r.stats[kStatDefence], 300 & 0xFF);
    EXPECT_EQ(r.commands[4], 4);  // no commands line: the record keeps its own

    // 5, 7, then -1: two words, the other 46 cleared; techniques 0, 2, 32, 33, 34 known.
    const int32_t* words = &r.techniques[0][0];
    std::vector<int32_t> expected(kEnemyTechniqueWords, 0);
    expected[0] = 5, expected[1] = 7;
    EXPECT_EQ(std::vector<int32_t>(words, words + kEnemyTechniqueWords), expected);
    EXPECT_TRUE(r.KnowsTechnique(0, 34));
    EXPECT_STREQ(g_Characters[3].fileName, "hero");
}

TEST_F(EnemyFileTest, FortyEightWordsWithoutEndFillEverySetAndTheRestOfTheLineGoes) {
    FighterRecord r;
    std::string text;
    ASSERT_TRUE(ReadGameTextFile(std::string(GetBasePath()) + "sChr\\e1.qf", text));
    std::string character;
    EXPECT_TRUE(ReadEnemyStatusText(r, text, "e1", character));
    for (int i = 0; i < kEnemyTechniqueWords; ++i) EXPECT_EQ((&r.techniques[0][0])[i], i + 1);
    EXPECT_EQ(character, "hero");
}

TEST_F(EnemyFileTest, MissingFileAndPartySlotsChangeNothing) {
    g_PartyMembers[1].SetName("Hero");
    for (int slot : {-1, 0, 2, 8}) ReadEnemST(slot, 0);
    EXPECT_STREQ(g_Fighters[0]->name, "Hero");
    EXPECT_EQ(g_Characters[0].active, 0);

    ReadEnemST(4, 0);
    FighterRecord* record = g_Fighters[4];
    ReadEnemST(4, 9);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ReadEnemST:ファイルが無い"});
    EXPECT_EQ(g_Fighters[4], record);
    EXPECT_STREQ(record->name, "Goblin");
}

TEST_F(EnemyFileTest, DamagedFileIsReportedOnceAndLoadsNoCharacter) {
    ReadEnemST(5, 2);  // "seven" where a technique word should be
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("ReadEnemST:"), std::string::npos);
    EXPECT_NE(BoxTexts()[0].find("e2.qf"), std::string::npos);
    EXPECT_STREQ(g_Fighters[5]->name, "Broken");  // what came before the damage stays
    EXPECT_EQ(g_Characters[5].active, 0);
    // That a text cut anywhere is reported once and names no character is the fuzz target's.
}

}  // namespace
