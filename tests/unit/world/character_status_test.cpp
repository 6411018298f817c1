#include <cstring>
#include <string>
#include <vector>

#include "app/sjis.h"
#include "character_test_util.h"

namespace {

using CharacterStatusTest = CharacterTest;

TEST_F(CharacterStatusTest, PartyStatusFileFillsTheRecordAndTheFaceName) {
    QReadsChrData(0);  // "\r\n" line ends
    EXPECT_TRUE(g_MessageBoxLog.empty());
    const FighterRecord& r = g_PartyMembers[0];
    EXPECT_EQ(std::string(r.name), SJIS("ハルロ"));
    EXPECT_EQ(r.maxHp, 120);
    EXPECT_EQ(r.maxMp, 30);
    EXPECT_EQ(r.hp, 0);  // points are not in the file
    EXPECT_EQ(r.stats[0], 10);
    EXPECT_EQ(r.stats[2], 30);
    EXPECT_EQ(r.stats[3], 300 - 256);  // 8 bits each
    EXPECT_EQ(r.stats[10], 2);
    EXPECT_EQ(r.statusByte, 2);
    EXPECT_EQ(r.defaultAction, 7);
    EXPECT_EQ(r.weapon, 3);
    EXPECT_EQ(r.guard, 0);
    EXPECT_EQ(std::vector<int>(r.commands, r.commands + 5), (std::vector<int>{0, 1, 2, 3, 4}));

    // Category 0 starts with 5: techniques 0 and 2.
    EXPECT_TRUE(r.KnowsTechnique(0, 0));
    EXPECT_FALSE(r.KnowsTechnique(0, 1));
    EXPECT_TRUE(r.KnowsTechnique(0, 2));
    EXPECT_FALSE(r.KnowsTechnique(0, 32));
    EXPECT_TRUE(r.KnowsTechnique(1, 255));
    EXPECT_FALSE(r.KnowsTechnique(2, 0));
    // Numbers past the eighth on a line go with the rest of it: category 4 is the next line.
    EXPECT_EQ(r.techniques[3][7], 0);
    EXPECT_EQ(r.techniques[4][0], 1);
    EXPECT_EQ(r.techniques[4][7], 8);
    EXPECT_TRUE(r.KnowsTechnique(5, 255));  // word 7 = 0x80000000
    EXPECT_FALSE(r.KnowsTechnique(6, 0));
    EXPECT_FALSE(r.KnowsTechnique(0, 256));
    EXPECT_FALSE(r.KnowsTechnique(0, -1));
    EXPECT_STREQ(g_FaceNames[0], "harlo");

    // Over-long names are cut to their fields, never inside a double-byte character.
    QReadsChrData(1);
    EXPECT_TRUE(g_MessageBoxLog.empty());
    EXPECT_EQ(std::string(g_PartyMembers[1].name), SJIS("アイウエオカキクケコサ"));
    EXPECT_EQ(std::strlen(g_FaceNames[1]), 63u);
    EXPECT_EQ(g_PartyMembers[1].commands[0], 4);
}

TEST_F(CharacterStatusTest, GameStartReadsEveryMemberAndFillsPointsAndAttack) {
    LoadPartyStatus();
    // c2.qf does not exist: one box, and the record keeps what it had.
    ASSERT_GE(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "QReadsChrData:ファイルが無い");
    EXPECT_EQ(g_MessageBoxLog[0].caption, "Harlo tumesto");
    const FighterRecord fresh;
    EXPECT_EQ(g_PartyMembers[2].weapon, fresh.weapon);
    EXPECT_EQ(g_PartyMembers[2].techniques[5][7], -1);
    EXPECT_STREQ(g_FaceNames[2], "");

    const FighterRecord& r = g_PartyMembers[0];
    EXPECT_EQ(r.hp, 120);
    EXPECT_EQ(r.mp, 30);
    EXPECT_EQ(r.stats[kStatAttack], 20);
    EXPECT_EQ(r.stats[kStatDefence], 30);

    // Battle damage is healed by RestoreStatus only.
    g_PartyMembers[0].hp = 3;
    g_PartyMembers[0].mp = 0;
    RestoreStatus(g_PartyMembers[0]);
    EXPECT_EQ(r.hp, 120);
    EXPECT_EQ(r.mp, 30);

    // Fighters 0-2 follow the party order; the records stay where they are.
    BindPartyFighters();
    EXPECT_EQ(g_Fighters[0], &g_PartyMembers[1]);
    EXPECT_EQ(g_Fighters[1], &g_PartyMembers[0]);
    EXPECT_EQ(g_Fighters[2], &g_PartyMembers[3]);
    g_PartyOrder[2] = 4;
    BindPartyFighters();
    EXPECT_EQ(g_Fighters[2], nullptr);
    g_Fighters[5] = new FighterRecord;  // an enemy; ResetParty frees it
}

TEST_F(CharacterStatusTest, DamagedStatusFileIsReportedOnceAndKeepsWhatCameBefore) {
    QReadsChrData(3);  // stops inside the technique lines
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    const std::string& text = g_MessageBoxLog[0].text;
    EXPECT_EQ(text.rfind("QReadsChrData:\n", 0), 0u) << text;
    EXPECT_NE(text.find("c3.qf"), std::string::npos) << text;
    EXPECT_NE(text.find("技 1-3が読めません"), std::string::npos) << text;
    const FighterRecord& r = g_PartyMembers[3];
    EXPECT_STREQ(r.name, "Rex");
    EXPECT_EQ(r.maxHp, 80);
    EXPECT_EQ(r.stats[1], 15);
    EXPECT_EQ(r.techniques[0][0], 1);
    EXPECT_EQ(r.techniques[1][0], 2);
    EXPECT_EQ(r.techniques[1][3], -1);  // not reached: as constructed
    EXPECT_STREQ(g_FaceNames[3], "");

    // Text that is no status file at all: one report, nothing read, nothing past the text.
    g_MessageBoxLog.clear();
    const FighterRecord before = g_PartyMembers[2];
    EXPECT_FALSE(ReadPartyStatusText(2, "name\nx,y\n", "mem"));
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_STREQ(g_PartyMembers[2].name, "name");
    EXPECT_EQ(g_PartyMembers[2].maxHp, before.maxHp);
    EXPECT_FALSE(ReadPartyStatusText(2, "", "mem"));
    EXPECT_FALSE(ReadPartyStatusText(7, "x", "mem"));  // no such member
    EXPECT_EQ(g_MessageBoxLog.size(), 2u);
}

}  // namespace
