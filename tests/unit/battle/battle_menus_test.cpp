
#include "base/keys.h"
#include "battle_test_util.h"

namespace {

class BattleMenusTest : public BattleTest {
protected:
    void SetUp() override {
        BattleTest::SetUp();
        // The plain attack aims at the enemies.
        ASSERT_TRUE(
            ParseTechniqueTable("Attack Hit_one 0 4\nMagic Cast_a_spell 0 8\nItem Use_an_item 0 0\n"
                                "Guard Cover_the_others 0 16\nRun Run_away 0 16\n",
                                TechniqueTables[0]));
        B().gauge[0] = kGaugeFull;
        OpenCommandMenu(0);
    }
    // Battle frames with these keys held until the phase is `phase`; the frames it took, or -1.
    int Until(FrameProc phase, std::initializer_list<int> held = {}, int limit = 60) {
        Hold(held);
        for (int n = 1; n <= limit; ++n) {
            BattleFrame();
            if (B().frameHandler == phase) return n;
        }
        return -1;
    }
    // Frames without keys until the action delay has passed again.
    void Rest() {
        Hold({});
        for (int n = 0; n < 20 && g_ActionTimer < kActionDelayMs; ++n) BattleFrame();
    }
};

}  // namespace

TEST_F(BattleMenusTest, CommandThenTechniqueThenTargetStartsTheAction) {
    // The menu slides in over four frames before it takes keys.
    EXPECT_EQ(Until(CommandSelect, {VK_DOWN}, 3), 1);
    for (int i = 0; i < 3; ++i) BattleFrame();
    EXPECT_EQ(B().menuList.cursor, 1);  // Down, from the fourth frame on
    Rest();

    // Technique 1 of category 1 is unknown to fighter 0: its line stays blank.
    g_Fighters[0]->techniques[1][0] = ~0x2;
    EXPECT_EQ(Until(TechniqueSelect, {VK_SHIFT}), 2);  // held on the second frame
    EXPECT_EQ(B().category, 1);
    EXPECT_STREQ(B().menuList.entries[1].text, " ");
    EXPECT_STREQ(B().menuList.entries[2].text, "Ice");
    B().menuList.cursor = 2;
    Rest();

    // The target list of the enemies: enemy 3 is down, so its line is empty and the cursor
    // starts on enemy 4; three frames after Shift the target is confirmed.
    B().alive[3] = 0;
    EXPECT_GT(Until(TargetSelect, {VK_SHIFT}), 0);
    EXPECT_EQ(B().action[0], 2);
    EXPECT_STREQ(B().menuList.entries[0].text, "");
    EXPECT_EQ(B().menuList.cursor, 1);
    EXPECT_EQ(Until(TargetConfirming, {VK_SHIFT}), 1);
    EXPECT_EQ(Until(ActionRunning, {VK_SHIFT}), 3);
    EXPECT_EQ(B().target[0], 4);
    EXPECT_EQ(B().techniqueScript.actor, 0);
}

TEST_F(BattleMenusTest, CtrlGoesBackAMenuAtATimeAndGuardActsAtOnce) {
    EXPECT_EQ(Until(TechniqueSelect, {VK_DOWN}, 6), -1);
    Rest();
    EXPECT_EQ(Until(TechniqueSelect, {VK_SHIFT}), 2);
    Rest();
    EXPECT_GT(Until(TargetSelect, {VK_SHIFT}), 0);
    Rest();
    EXPECT_GT(Until(TechniqueSelect, {VK_CONTROL}), 0);
    Rest();
    EXPECT_GT(Until(CommandSelect, {VK_CONTROL}), 0);
    EXPECT_STREQ(B().menuList.entries[0].text, "Attack");

    B().menuList.cursor = 3;  // Guard: acts at once and covers until the menu opens again
    Rest();
    EXPECT_GT(Until(ActionRunning, {VK_SHIFT}), 0);
    EXPECT_EQ(B().actionKind, kActionImmediate);
    EXPECT_EQ(B().statusBits[0], kCoverBit);
    OpenCommandMenu(0);
    EXPECT_EQ(B().statusBits[0], 0u);
}
