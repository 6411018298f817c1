#include <cmath>
#include <set>

#include "base/keys.h"
#include "battle_test_util.h"
#include "math/math_scalar.h"
#include "sound/bgm.h"

namespace {

class BattlePhasesTest : public BattleTest {
protected:
    // Only these fighters take part.
    void OnlyAlive(std::initializer_list<int> fighters) {
        for (int i = 0; i < kBattleFighterCount; ++i) B().alive[i] = 0;
        for (int i : fighters) B().alive[i] = 1;
    }
    // Lets an event that is still playing end the way its end command does.
    void FinishEvent() {
        if (B().frameHandler == EventRunning) B().frameHandler = B().returnHandler;
    }
};

}  // namespace

TEST_F(BattlePhasesTest, GaugesGrowWithSpeedAndTheFirstInTheOrderBeforeGrowthActs) {
    // Equal gauges: the higher fighter number is checked first, and only its gauge is set full.
    OnlyAlive({1, 4});
    B().gauge[1] = B().gauge[4] = 4990;
    AdvanceGauges();
    EXPECT_EQ(B().gauge[4], kGaugeFull);
    EXPECT_GT(B().gauge[1], 5000);
    EXPECT_EQ(B().frameHandler, ActionRunning);

    // The order is taken before this frame's growth: fighter 2 stood ahead, so it acts although
    // the faster fighter 5 has passed it. A party fighter opens the command menu.
    OnlyAlive({2, 5});
    B().gauge[2] = 4950;
    B().gauge[5] = 4940;
    g_Fighters[5]->stats[kStatSpeed] = 50;
    AdvanceGauges();
    EXPECT_GT(B().gauge[5], B().gauge[2]);
    EXPECT_EQ(B().frameHandler, CommandSelect);
    EXPECT_EQ(B().actor, 2);
    EXPECT_STREQ(B().menuList.entries[1].text, "Magic");

    // A fighter that is down never fills; nobody ready leaves the phase as it is.
    OnlyAlive({0, 5});
    B().frameHandler = AdvanceGauges;
    B().gauge[0] = B().gauge[5] = 0;
    B().gauge[6] = 4999;
    g_Fighters[0]->stats[kStatSpeed] = 1;
    AdvanceGauges();
    EXPECT_GE(B().gauge[0], 50);
    EXPECT_LE(B().gauge[0], 55);
    EXPECT_EQ(B().gauge[6], 4999);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
}

TEST_F(BattlePhasesTest, AnEnemyUsesItsDefaultActionOnAnyPartyFighter) {
    std::set<int32_t> targets;
    for (uint32_t seed = 0; seed < 60; ++seed) {
        CrtSrand(seed);
        OnlyAlive({0, 6});  // fighters that are down are picked too
        B().gauge[6] = 4999;
        AdvanceGauges();
        EXPECT_EQ(B().action[6], 6);
        targets.insert(B().target[6]);
    }
    EXPECT_EQ(targets, (std::set<int32_t>{0, 1, 2}));
}

// The poses, fades and the field behind them are played by the battle end-to-end runs.
TEST_F(BattlePhasesTest, EndCheckWaitsForRunnersAndPlaysTheClosingEventOnce) {
    OnlyAlive({0, 2});
    B().frameHandler = EndCheck;
    B().running[2] = 1;
    EndCheck();  // someone is still running home
    EXPECT_EQ(g_ModeNext, 0);
    B().running[2] = 0;
    EndCheck();
    EXPECT_EQ(g_ModeNext, 1);  // the closing event is marked as started
    FinishEvent();
    ASSERT_EQ(B().frameHandler, EndCheck);
    EndCheck();  // back from the event: no second event, the sequence begins
    EXPECT_EQ(B().frameHandler, VictoryFadeOut);
    EXPECT_EQ(CurrentBgmName(), "win");

    // A lost fight ends through the enemies' pose; an undecided one goes on.
    g_ModeNext = 0;
    OnlyAlive({4, 7});
    B().frameHandler = EndCheck;
    EndCheck();
    FinishEvent();
    EndCheck();
    EXPECT_EQ(B().frameHandler, DefeatFadeOut);
    g_ModeNext = 0;
    OnlyAlive({1, 5});
    B().frameHandler = EndCheck;
    EndCheck();
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
}

TEST_F(BattlePhasesTest, RunnersGoHomeAndFaceTheirTarget) {
    Character& c = g_Characters[1];
    const Vector3 home = B().home[1];
    c.position = Vector3{home.x + 300.0f, 0.0f, home.z - 400.0f};
    B().running[1] = 1;
    B().target[1] = 3;
    MoveFighters();
    // One frame of 17 ms covers 42.5 units toward home.
    EXPECT_NEAR(std::hypot(c.position.x - home.x, c.position.z - home.z), 500.0f - 42.5f, 0.5f);
    for (int i = 0; i < 20 && B().running[1]; ++i) MoveFighters();
    EXPECT_EQ(B().running[1], 0);
    EXPECT_FLOAT_EQ(c.position.x, home.x);
    EXPECT_FLOAT_EQ(c.position.z, home.z);
    // Facing along (sin, cos) of the turn points at the target.
    const Vector3& t = g_Characters[3].position;
    const float tx = t.x - c.position.x, tz = t.z - c.position.z;
    EXPECT_NEAR((std::sin(c.rotation.y) * tx + std::cos(c.rotation.y) * tz) / std::hypot(tx, tz),
                1.0f, 1e-3f);

    // A target outside 0-7 leaves the facing alone.
    c.position.x += 10.0f;
    c.rotation.y = 0.25f;
    B().running[1] = 1;
    B().target[1] = 44;
    MoveFighters();
    EXPECT_FLOAT_EQ(c.rotation.y, 0.25f);
}
