#include <set>

#include "battle_test_util.h"

namespace {

class BattleHitsTest : public BattleTest {
protected:
    // Attacker 0 against target 3: attack 20 + 5 against defence 10 + 5 (difference 10).
    void WorkedExample() {
        g_Fighters[0]->stats[kStatAttack] = 20;
        g_Fighters[0]->stats[kStatBonus] = 5;
        g_Fighters[3]->stats[kStatDefence] = 10;
        g_Fighters[3]->stats[kStatBonus] = 5;
    }
    // The amounts a hit deals over many seeds.
    std::set<int32_t> Dealt(int32_t critical, int32_t ignoreDefence, int seeds) {
        std::set<int32_t> seen;
        for (int seed = 0; seed < seeds; ++seed) {
            CrtSrand(uint32_t(seed));
            ComputeHit(0, 0, 3, 100, critical, 0, 0, ignoreDefence);
            seen.insert(-B().pendingAmount[3]);
        }
        return seen;
    }
};

}  // namespace

TEST_F(BattleHitsTest, DamageFollowsTheDifferenceWithVarianceCriticalsAndTheCap) {
    WorkedExample();
    // 18 before the variance of 217-255 / 255: 15 to 18, all of them reached. Critical threshold
    // 100 never criticals; 0 always does: 18 x 1.5 = 27 before the variance.
    EXPECT_EQ(Dealt(100, 0, 400), (std::set<int32_t>{15, 16, 17, 18}));
    EXPECT_EQ(B().labelText[3], std::to_string(-B().pendingAmount[3]));
    const std::set<int32_t> critical = Dealt(0, 0, 200);
    EXPECT_EQ(B().criticalFlags[3], 1u);
    EXPECT_EQ(*critical.begin(), 22);  // trunc(217 / 255 x 27)
    EXPECT_EQ(*critical.rbegin(), 27);
    // Ignoring defence: d = 25 gives 75 before the variance.
    const std::set<int32_t> ignoring = Dealt(100, 1, 20);
    EXPECT_GE(*ignoring.begin(), 63);
    EXPECT_LE(*ignoring.rbegin(), 75);

    // Huge powers stop at 9999 in the amount and the label; a negative power does no harm.
    for (int32_t power : {1000000, 2147483647}) {
        ComputeHit(0, 0, 3, power, 0, 0, 0, 0);
        EXPECT_EQ(B().pendingAmount[3], -kDamageCap);
        EXPECT_STREQ(B().labelText[3], "9999");
    }
    ComputeHit(0, 0, 3, -500, 100, 0, 0, 0);
    EXPECT_EQ(B().pendingAmount[3], 0);
}

TEST_F(BattleHitsTest, NoDamageWhenAttackDoesNotExceedDefenceAndMissesShowMiss) {
    g_Fighters[0]->stats[kStatAttack] = 10;
    g_Fighters[3]->stats[kStatDefence] = 10;  // equal: nothing
    ComputeHit(0, 0, 3, 100, 100, 0, 0, 0);
    EXPECT_EQ(B().pendingAmount[3], 0);
    EXPECT_STREQ(B().labelText[3], "0");
    // Accuracy and evasion sum to at most 510: a threshold above that always misses.
    WorkedExample();
    ComputeHit(0, 0, 3, 100, 0, 511, 0, 0);
    EXPECT_STREQ(B().labelText[3], "MISS");
    EXPECT_EQ(B().pendingAmount[3], 0);
}

// Fighter numbers outside 0-7, and points and stats kept within their bounds whatever the
// amounts, are the battle-hits fuzz target's.
TEST_F(BattleHitsTest, FixedChangesUseThePower) {
    B().pendingAmount[1] = -80;  // a stale amount of an earlier hit is never applied again
    ComputeHit(1, 0, 1, 45, 0, 9999, 0, 0);  // healing: no miss test, no critical
    EXPECT_EQ(B().pendingAmount[1], 45);
    EXPECT_EQ(B().criticalFlags[1], 0u);
    ComputeHit(1, 0, 1, 123456, 0, 0, 0, 0);
    EXPECT_EQ(B().pendingAmount[1], kDamageCap);
    ComputeHit(2, 0, 1, 45, 0, 0, 0, 0);  // other kinds change nothing
    EXPECT_EQ(B().pendingAmount[1], 0);
}

TEST_F(BattleHitsTest, KnockDownEmptiesTheGaugeOnce) {
    FighterRecord& f = *g_Fighters[4];
    B().gauge[4] = 3000;
    B().pendingStat[4] = 0;
    B().pendingAmount[4] = -50;
    ApplyPending(4);
    EXPECT_EQ(f.hp, 70);
    EXPECT_EQ(B().hpStep[4], 15);  // 50 / 5 + 1 = 11, raised to the smallest step
    EXPECT_EQ(B().gauge[4], 3000);
    B().pendingAmount[4] = -1000;
    ApplyPending(4);
    EXPECT_EQ(f.hp, 0);
    EXPECT_EQ(B().alive[4], 0);
    EXPECT_EQ(B().gauge[4], 0);
    ApplyPending(4);  // hit again while down: alive stays 0
    EXPECT_EQ(B().alive[4], 0);
    B().pendingStat[1] = 1;  // nobody is knocked down by magic points
    B().pendingAmount[1] = -1000;
    ApplyPending(1);
    EXPECT_EQ(g_Fighters[1]->mp, 0);
    EXPECT_EQ(B().alive[1], 1);
}

// The labels of a hit and a critical are checked by the battle end-to-end run.
TEST_F(BattleHitsTest, TheSeventeenthLabelOverflowsAndARunOutOneIsUsedAgain) {
    for (int n = 0; n < kDamageLabelCount; ++n) EXPECT_EQ(AddDamageLabel(6), n);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(AddDamageLabel(6), -1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ダメージラベルが、最大数を超えました！"});
    B().labels[7].life = 0;  // a label that has run out is used again
    EXPECT_EQ(AddDamageLabel(6), 7);
}
