#include <cstring>
#include <string>

#include "base/sjis.h"
#include "character_test_util.h"

namespace {

using CharacterStatusTest = CharacterTest;

TEST_F(CharacterStatusTest, PartyStatusFileFillsTheRecordAndTheFaceName) {
    QReadsChrData(0);  // "\r\n" line ends
    EXPECT_TRUE(g_MessageBoxLog.empty());
    const FighterRecord& r = g_PartyMembers[0];
    EXPECT_EQ(std::string(r.name), SJIS("ハルロ"));
    EXPECT_EQ(r.hp, 0);                // points are not in the file
    EXPECT_EQ(r.stats[3], 300 - 256);  // 8 bits each
    // Category 0 starts with 5: techniques 0 and 2.
    EXPECT_TRUE(r.KnowsTechnique(0, 0));
    // Numbers past the eighth go with the rest of the line: category 4 is the next line.
    EXPECT_EQ(r.techniques[4][0], 1);
    EXPECT_TRUE(r.KnowsTechnique(5, 255));
    EXPECT_STREQ(g_FaceNames[0], "harlo");

    // Over-long names are cut to their fields, never inside a double-byte character.
    QReadsChrData(1);
    EXPECT_EQ(std::string(g_PartyMembers[1].name), SJIS("アイウエオカキクケコサ"));
    EXPECT_EQ(std::strlen(g_FaceNames[1]), 63u);
}

TEST_F(CharacterStatusTest, GameStartReadsEveryMemberAndBindsTheFighters) {
    LoadPartyStatus();
    // c2.qf does not exist: the record keeps its constructor values.
    ASSERT_FALSE(g_MessageBoxLog.empty());
    EXPECT_EQ(g_MessageBoxLog[0].text, "QReadsChrData:ファイルが無い");
    EXPECT_EQ(g_PartyMembers[2].weapon, 1);

    BindPartyFighters();  // order (1, 0, 3)
    EXPECT_EQ(g_Fighters[2], &g_PartyMembers[3]);
    g_PartyOrder[2] = 4;
    BindPartyFighters();
    EXPECT_EQ(g_Fighters[2], nullptr);
    g_Fighters[5] = new FighterRecord;  // an enemy: ResetParty frees it
}

TEST_F(CharacterStatusTest, DamagedStatusFileIsReportedOnceAndKeepsWhatCameBefore) {
    QReadsChrData(3);  // stops inside the technique lines
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    const std::string& text = g_MessageBoxLog[0].text;
    EXPECT_NE(text.find("c3.qf\n技 1-3が読めません"), std::string::npos) << text;
    const FighterRecord& r = g_PartyMembers[3];
    EXPECT_EQ(r.maxHp, 80);
    EXPECT_EQ(r.techniques[1][3], -1);
    EXPECT_STREQ(g_FaceNames[3], "");

    EXPECT_FALSE(ReadPartyStatusText(2, "name\nx,y\n", "m"));
    EXPECT_EQ(g_PartyMembers[2].maxHp, 0);
    EXPECT_FALSE(ReadPartyStatusText(2, "", "m"));
    EXPECT_EQ(g_MessageBoxLog.size(), 3u);
}

}  // namespace
