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
};

}  // namespace

TEST_F(BattleHitsTest, DamageFollowsTheDifferenceWithVarianceCriticalsAndTheCap) {
    WorkedExample();
    std::set<int32_t> seen;
    for (uint32_t seed = 0; seed < 400; ++seed) {
        CrtSrand(seed);
        // Critical threshold 100 never criticals, hit threshold 0 never misses.
        ComputeHit(0, 0, 3, 100, 100, 0, 0, 0);
        seen.insert(-B().pendingAmount[3]);
        EXPECT_EQ(B().criticalFlags[3], 0u);
        EXPECT_EQ(B().labelText[3], std::to_string(-B().pendingAmount[3]));
    }
    // 18 before the variance of 217-255 / 255: 15 to 18, all of them reached.
    EXPECT_EQ(seen, (std::set<int32_t>{15, 16, 17, 18}));

    // Threshold 0 always criticals: 18 x 1.5 = 27 before the variance.
    std::set<int32_t> critical;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        CrtSrand(seed);
        ComputeHit(0, 0, 3, 100, 0, 0, 0, 0);
        EXPECT_EQ(B().criticalFlags[3], 1u);
        critical.insert(-B().pendingAmount[3]);
    }
    EXPECT_EQ(*critical.begin(), 22);  // trunc(217 / 255 x 27)
    EXPECT_EQ(*critical.rbegin(), 27);

    // Ignoring defence: d = 25 gives 75 before the variance.
    CrtSrand(3);
    ComputeHit(0, 0, 3, 100, 100, 0, 0, 1);
    EXPECT_GE(-B().pendingAmount[3], 63);
    EXPECT_LE(-B().pendingAmount[3], 75);

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
    EXPECT_EQ(B().hitMark[3], 1);
    EXPECT_EQ(B().labelColour[3], 0xFFFFFFu);

    // Accuracy and evasion sum to at most 510: a threshold above that always misses.
    WorkedExample();
    ComputeHit(0, 0, 3, 100, 0, 511, 0, 0);
    EXPECT_STREQ(B().labelText[3], "MISS");
    EXPECT_EQ(B().pendingAmount[3], 0);
    EXPECT_EQ(B().criticalFlags[3], 1u);  // the critical roll still took place
}

TEST_F(BattleHitsTest, FixedChangesUseThePowerAndOtherKindsChangeNothing) {
    // A stale amount of an earlier hit is never applied again.
    B().pendingAmount[1] = -80;
    ComputeHit(1, 0, 1, 45, 0, 9999, 0, 0);  // healing: no miss test, no critical
    EXPECT_EQ(B().pendingAmount[1], 45);
    EXPECT_STREQ(B().labelText[1], "45");
    EXPECT_EQ(B().criticalFlags[1], 0u);
    ComputeHit(1, 0, 1, -7, 0, 0, 1, 0);  // a cost of magic points
    EXPECT_EQ(B().pendingAmount[1], -7);
    EXPECT_EQ(B().pendingStat[1], 1);
    ComputeHit(1, 0, 1, 123456, 0, 0, 0, 0);
    EXPECT_EQ(B().pendingAmount[1], kDamageCap);
    ComputeHit(2, 0, 1, 45, 0, 0, 0, 0);
    EXPECT_EQ(B().pendingAmount[1], 0);

    // Fighter numbers outside 0-7 are ignored, never indexed.
    ComputeHit(0, 8, 1, 100, 0, 0, 0, 0);
    ComputeHit(0, 0, -1, 100, 0, 0, 0, 0);
    ApplyHit(12);
    SetStance(-3);
    ReactToHit(99);
    EXPECT_EQ(AddDamageLabel(8), -1);
    EXPECT_EQ(B().pendingAmount[1], 0);
}

TEST_F(BattleHitsTest, PendingAmountsChangePointsAndStatsWithinTheirBounds) {
    FighterRecord& f = *g_Fighters[1];
    B().pendingStat[1] = 0;
    B().pendingAmount[1] = 500;  // healing stops at the maximum
    f.hp = 100;
    ApplyPending(1);
    EXPECT_EQ(f.hp, 120);
    B().pendingStat[1] = 1;
    B().pendingAmount[1] = -100;  // magic points stop at 0, nobody is knocked down by them
    ApplyPending(1);
    EXPECT_EQ(f.mp, 0);
    EXPECT_EQ(B().alive[1], 1);

    B().pendingStat[1] = kStatAttack;
    B().pendingAmount[1] = -300;
    ApplyPending(1);
    EXPECT_EQ(f.stats[kStatAttack], 1);
    B().pendingAmount[1] = 2147483647;
    ApplyPending(1);
    EXPECT_EQ(f.stats[kStatAttack], 255);
    B().pendingStat[1] = 11;  // no such entry: nothing
    ApplyPending(1);
    B().pendingStat[1] = -1;
    ApplyPending(1);
    EXPECT_EQ(f.hp, 120);
}

TEST_F(BattleHitsTest, KnockDownEmptiesTheGaugeOnceAndShownPointsStep) {
    FighterRecord& f = *g_Fighters[4];
    B().gauge[4] = 3000;
    B().pendingStat[4] = 0;
    B().pendingAmount[4] = -50;
    ApplyPending(4);
    EXPECT_EQ(f.hp, 70);
    EXPECT_EQ(B().hpStep[4], 15);  // 50 / 5 + 1 = 11, raised to the smallest step
    EXPECT_EQ(B().alive[4], 1);
    EXPECT_EQ(B().gauge[4], 3000);

    B().pendingAmount[4] = -1000;
    ApplyPending(4);
    EXPECT_EQ(f.hp, 0);
    EXPECT_EQ(B().alive[4], 0);
    EXPECT_EQ(B().gauge[4], 0);
    EXPECT_EQ(B().hpStep[4], 25);  // shown 120: 120 / 5 + 1
    ApplyPending(4);               // hit again while down: alive stays 0
    EXPECT_EQ(B().alive[4], 0);

    // Healing steps the other way; small differences take the smallest step.
    B().shownHp[4] = 0;
    B().pendingAmount[4] = 100;
    ApplyPending(4);
    EXPECT_EQ(B().hpStep[4], -21);
    B().shownHp[4] = 95;
    ApplyPending(4);  // hp stays 100 (the maximum is 120): d = -5
    EXPECT_EQ(f.hp, 120);
    EXPECT_EQ(B().hpStep[4], -15);
}

TEST_F(BattleHitsTest, ApplyHitAddsLabelsAndCriticalsAndTheSeventeenthOverflows) {
    WorkedExample();
    CrtSrand(5);
    ComputeHit(0, 0, 3, 100, 0, 0, 0, 0);
    const int32_t dealt = -B().pendingAmount[3];
    ApplyHit(3);
    EXPECT_EQ(g_Fighters[3]->hp, 120 - dealt);
    EXPECT_EQ(B().labels[0].life, kDamageLabelLife);
    EXPECT_STREQ(B().labels[0].text, std::to_string(dealt).c_str());
    EXPECT_EQ(B().labels[0].colour, 0xFFFFFFu);
    EXPECT_FLOAT_EQ(B().labels[0].position.z, g_Characters[3].position.z);
    // The critical label at the head's height.
    EXPECT_STREQ(B().labels[1].text, "CRITICAL!");
    EXPECT_EQ(B().labels[1].colour, 0x00FFFFu);
    EXPECT_FLOAT_EQ(B().labels[1].position.y, HeadHeight(g_Characters[3]));
    EXPECT_EQ(B().criticalFlags[3], 0u);
    EXPECT_EQ(B().labelColour[3], 0x00FFFFu);

    // A fighter shown at no hit points gets a blue "1".
    B().shownHp[5] = 0;
    std::snprintf(B().labelText[5], kLabelTextSize, "77");
    EXPECT_EQ(AddDamageLabel(5), 2);
    EXPECT_STREQ(B().labels[2].text, "1");
    EXPECT_EQ(B().labels[2].colour, 0x0000FFu);

    for (int n = 3; n < kDamageLabelCount; ++n) EXPECT_EQ(AddDamageLabel(6), n);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(AddDamageLabel(6), -1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"ダメージラベルが、最大数を超えました！"});
    B().labels[7].life = 0;  // a label that has run out is used again
    EXPECT_EQ(AddDamageLabel(6), 7);
}

TEST_F(BattleHitsTest, StancesAndReactionsFollowThePoints) {
    FighterRecord& f = *g_Fighters[0];
    f.maxHp = 120;
    f.hp = 20;  // exactly a sixth: normal stance
    SetStance(0);
    EXPECT_EQ(Motion(0), 3u);
    f.hp = 19;
    SetStance(0);
    EXPECT_EQ(Motion(0), 4u);
    B().alive[0] = 0;
    SetStance(0);
    EXPECT_EQ(Motion(0), 5u);
    EXPECT_EQ(g_Characters[0].motionFlags, kMotionPlaying);  // not looping
    SetStance(3);
    EXPECT_EQ(Motion(3), 0u);
    B().alive[3] = 0;
    SetStance(3);
    EXPECT_EQ(Motion(3), 5u);

    f.hp = 60;
    B().pendingAmount[0] = -45;  // 15 left: hit, then the low stance
    ReactToHit(0);
    EXPECT_EQ(Motion(0), 10u);
    EXPECT_EQ(g_Characters[0].queuedMotion, 4 + 1);
    B().pendingAmount[0] = -20;
    ReactToHit(0);
    EXPECT_EQ(g_Characters[0].queuedMotion, 3 + 1);
    B().pendingAmount[0] = -60;  // nothing left: down at once
    ReactToHit(0);
    EXPECT_EQ(Motion(0), 5u);
}
