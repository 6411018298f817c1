#include <algorithm>

#include "app/keys.h"
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
    bool Drew(const std::string& text) const {
        auto texts = Texts();
        return std::any_of(texts.begin(), texts.end(),
                           [&](const Text& t) { return t.text == text; });
    }
};

}  // namespace

TEST_F(BattleMenusTest, CommandThenTechniqueThenTargetStartsTheAction) {
    // The menu slides in over four frames before it takes keys; its help follows the cursor.
    EXPECT_EQ(Until(CommandSelect, {VK_DOWN}, 3), 1);
    EXPECT_EQ(B().menuList.cursor, 0);
    for (int i = 0; i < 3; ++i) BattleFrame();
    EXPECT_EQ(g_TransitionCounter, 4);
    EXPECT_EQ(B().menuList.cursor, 1);  // Down, from the fourth frame on
    rec->Reset();
    Rest();
    EXPECT_TRUE(Drew("Cast_a_spell"));

    // Technique 1 of category 1 is unknown to fighter 0: its line stays blank.
    g_Fighters[0]->techniques[1][0] = ~0x2;
    EXPECT_EQ(Until(TechniqueSelect, {VK_SHIFT}), 2);  // held on the second frame
    EXPECT_EQ(B().category, 1);
    EXPECT_EQ(B().actionKind, kActionTechnique);
    EXPECT_EQ(B().fromTechniqueList, 1);
    EXPECT_STREQ(B().menuList.entries[0].text, "Fire");
    EXPECT_EQ(B().menuList.entries[0].value, 12);
    EXPECT_STREQ(B().menuList.entries[1].text, " ");
    EXPECT_STREQ(B().menuList.entries[2].text, "Ice");

    // Shift on the blank line does nothing; Down moves onto Ice.
    B().menuList.cursor = 1;
    for (int i = 0; i < 6; ++i) BattleFrame();
    EXPECT_EQ(B().frameHandler, TechniqueSelect);
    Hold({});
    BattleFrame();
    Hold({VK_DOWN});
    BattleFrame();
    EXPECT_EQ(B().menuList.cursor, 2);
    Rest();

    // Shift: the target list of the enemies fills after three frames; enemy 3 is down, so its
    // line is empty and the cursor starts on enemy 4.
    B().alive[3] = 0;
    EXPECT_GT(Until(TargetOpening, {VK_SHIFT}), 0);
    EXPECT_EQ(B().action[0], 2);
    EXPECT_EQ(Until(TargetSelect, {VK_SHIFT}), 3);
    EXPECT_EQ(B().targetSide, kFirstEnemySlot);
    EXPECT_STREQ(B().menuList.entries[0].text, "");
    EXPECT_STREQ(B().menuList.entries[1].text, "Foe4");
    EXPECT_EQ(B().menuList.cursor, 1);

    // Shift from the fourth frame; three frames later the target is confirmed.
    EXPECT_EQ(Until(TargetConfirming, {VK_SHIFT}), 1);
    EXPECT_EQ(Until(ActionRunning, {VK_SHIFT}), 3);
    EXPECT_EQ(B().target[0], 4);
    EXPECT_EQ(B().menuList.open, 0);
    EXPECT_EQ(B().messageCounter, 0);
    EXPECT_EQ(B().techniqueScript.actor, 0);
}

TEST_F(BattleMenusTest, CtrlGoesBackAMenuAtATime) {
    EXPECT_EQ(Until(TechniqueSelect, {VK_DOWN}, 6), -1);
    Rest();
    EXPECT_EQ(Until(TechniqueSelect, {VK_SHIFT}), 2);
    Rest();
    EXPECT_GT(Until(TargetSelect, {VK_SHIFT}), 0);
    Rest();
    // From the target list back to the technique list it came from, then to the commands.
    EXPECT_GT(Until(TechniqueSelect, {VK_CONTROL}), 0);
    EXPECT_EQ(B().menuList.cursor, 0);
    Rest();
    EXPECT_GT(Until(CommandSelect, {VK_CONTROL}), 0);
    EXPECT_EQ(B().category, 0);
    EXPECT_EQ(B().fromTechniqueList, 0);
    EXPECT_STREQ(B().menuList.entries[0].text, "Attack");

    // A plain attack goes straight to the target list; Ctrl there returns to the commands.
    B().menuList.cursor = 0;
    Rest();
    EXPECT_GT(Until(TargetSelect, {VK_SHIFT}), 0);
    EXPECT_EQ(B().action[0], g_Fighters[0]->defaultAction);
    EXPECT_EQ(B().actionKind, kActionPlain);
    Rest();
    EXPECT_GT(Until(CommandSelect, {VK_CONTROL}), 0);
}

TEST_F(BattleMenusTest, ImmediateCommandsActAtOnceAndGuardCovers) {
    for (int i = 0; i < 4; ++i) BattleFrame();
    B().menuList.cursor = 3;  // Guard
    Hold({VK_SHIFT});
    BattleFrame();
    BattleFrame();
    EXPECT_EQ(B().frameHandler, ActionRunning);
    EXPECT_EQ(B().actionKind, kActionImmediate);
    EXPECT_EQ(B().action[0], 3);
    EXPECT_EQ(B().target[0], kFirstEnemySlot);
    EXPECT_EQ(B().statusBits[0], kCoverBit);
    // The next time the menu opens the cover is gone.
    OpenCommandMenu(0);
    EXPECT_EQ(B().statusBits[0], 0u);
}

TEST_F(BattleMenusTest, HelperTargetsOfThePartyAndTheCameraComingHome) {
    B().homeCamera.distance = 3000.0f;
    B().homeCamera.target = Vector3{10.0f, 300.0f, 20.0f};
    g_Camera.distance = 99.0f;
    Hold({});
    for (int i = 0; i < 3 + 15; ++i) BattleFrame();  // keys count from the 4th
    EXPECT_FLOAT_EQ(g_Camera.distance, 99.0f);
    BattleFrame();  // the 16th frame of the open menu
    EXPECT_FLOAT_EQ(g_Camera.distance, 3000.0f);
    EXPECT_FLOAT_EQ(g_Camera.target.y, 300.0f);

    // Heal aims at the party: three names, the fallen among them.
    B().category = 1;
    B().action[0] = 1;
    B().alive[2] = 0;
    OpenTargetMenu();
    EXPECT_EQ(Until(TargetSelect), 3);
    EXPECT_EQ(B().targetSide, 0);
    EXPECT_STREQ(B().menuList.entries[2].text, "Hero2");
    EXPECT_STREQ(B().menuList.entries[3].text, "");
    rec->Reset();
    BattleFrame();
    EXPECT_TRUE(Drew("Hero0"));  // the help line names the one under the cursor
}
