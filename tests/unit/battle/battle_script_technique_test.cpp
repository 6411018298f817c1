// The technique scripts' "w" commands.
#include <tuple>

#include "battle_script_fixture.h"
#include "character_test_util.h"
#include "math/math_scalar.h"
#include "world/data_tables.h"

namespace {

class TechniqueCommandTest : public BattleScriptTest {
protected:
    // One frame of `text` played by fighter `actor` against fighter `target`.
    void Once(int32_t actor, int32_t target, std::string_view text) {
        Play(actor, text);
        Technique().iv[0] = target;
        RunTechnique();
    }
};

TEST_F(TechniqueCommandTest, RunAcceleratesToItsTopSpeedAndStopsInFrontOfTheTarget) {
    Place(4, 0.0f, -2000.0f);
    Once(1, 4, "w10 @:R//w9 #c5 R//1w0 ;");
    // Per frame: move by the speed, then speed + 32 up to 2.5 x 17.
    for (float z : {-8.5f, -49.0f, -91.5f, -134.0f}) {
        EXPECT_FLOAT_EQ(g_Characters[1].position.z, z);
        RunTechnique();
    }
    Frames(100);
    EXPECT_EQ(Technique().running, 0);
    EXPECT_FLOAT_EQ(g_Characters[1].position.z, -2000.0f + 160.0f);
    EXPECT_FLOAT_EQ(g_Characters[1].rotation.y, 180.0f * kDegToRad);
}

TEST_F(TechniqueCommandTest, ReactionTurnsTheTargetAndPicksItsStance) {
    Place(0, 0.0f, 1000.0f);
    B().running[5] = 1;
    g_Fighters[5]->hp = 10;  // exactly a sixth: still the normal stance
    Once(0, 5, "w11 0,#");
    Character& t = g_Characters[5];
    EXPECT_NEAR(t.rotation.y, 180.0f * kDegToRad + kPi, 1e-5f);  // faces the actor, along +z
    EXPECT_EQ(B().running[5], 0);
    EXPECT_EQ(t.model.GetCurrentAnimation(), uint32_t(kMotionHit));
    EXPECT_EQ(t.queuedMotion, kMotionBattleStance + 1);
    g_Fighters[5]->hp = 9;  // below a sixth: the low stance
    Once(0, 5, "w11 0,#");
    EXPECT_EQ(t.queuedMotion, kMotionLowHpStance + 1);

    // A fighter that is down does not turn; other modes leave it to the hit rule, which knocks
    // down a fighter that the pending damage leaves without points.
    t.rotation.y = 1.0f;
    B().alive[5] = 0;
    g_Fighters[5]->hp = 9;
    B().pendingAmount[5] = -9;
    Once(0, 5, "w11 1,#");
    EXPECT_EQ(t.rotation.y, 1.0f);
    EXPECT_EQ(t.model.GetCurrentAnimation(), uint32_t(kMotionDown));
}

TEST_F(TechniqueCommandTest, BringBackWaitsForReactionsThenSnapsOrRunsHome) {
    BuildModel(g_Characters[3].model, {"body"}, {{kMotionHit, "btl_hit", {0, 100}}});
    g_Characters[3].SetMotion(kMotionHit, 0);
    for (int f : {3, 4, 5}) B().hitMark[f] = 1;
    Place(4, 0.0f, 128.0f);    // 128 from home: placed there
    Place(5, 100.0f, 100.0f);  // about 141: runs
    Once(0, 0, "w13 #");
    EXPECT_EQ(Technique().iv[2], 1);  // fighter 3 is still reacting
    EXPECT_EQ(g_Characters[4].position.z, 0.0f);
    EXPECT_EQ(B().running[5], 1);
}

TEST_F(TechniqueCommandTest, CoverPutsAGuardBetweenTheTargetAndTheActor) {
    Place(4, 0.0f, -1000.0f);  // the enemy actor
    Place(1, 0.0f, 1000.0f);   // its target
    g_Characters[1].collisionSize = 100.0f;
    g_Characters[2].collisionSize = 50.0f;
    B().target[4] = 1;
    B().statusBits[1] = B().statusBits[2] = kCoverBit;  // the target itself does not count
    Once(4, 0, "w14 0,#");
    EXPECT_EQ(B().target[4], 2);
    EXPECT_NEAR(g_Characters[2].position.z, 1000.0f - 150.0f, 0.01f);
}

TEST_F(TechniqueCommandTest, AnimationFrameStatusBitsAndArithmetic) {
    BuildModel(g_Characters[2].model, {"body"}, {{0, "btl_stand", {0, 100}}});
    g_Characters[2].SetMotion(0, 1);
    B().target[2] = 6;
    Technique().iv[2] = 1;
    Once(2, 0, "w8 0,c1 0,-3,=w8 1,c1 1,-3,=w15 4,w15 0,w15 32,c1 3,0,A#");
    // Frame 0 is never below 0; bit 32 is reported and ignored; c1's A reads the target of the
    // technique's fighter.
    EXPECT_EQ(std::tuple(Technique().iv[0], Technique().iv[1], B().statusBits[2], Technique().iv[3],
                         Reports()),
              std::tuple(0, 1, 0x11u, 6, 1u));
}

TEST_F(TechniqueCommandTest, HitAndApplyCallThroughToTheBattleRules) {
    Once(1, 6, "w4 1,100,50,0,3,0,#");
    EXPECT_EQ(B().hitMark[6], 1);
    EXPECT_EQ(B().pendingStat[6], 3);

    // Marked fighters take their pending amounts; crit 0 skips the critical display.
    B().pendingStat[6] = 0;
    B().pendingAmount[6] = B().pendingAmount[5] = -15;
    B().criticalFlags[6] = 1;
    Once(1, 6, "w5 0,#");
    EXPECT_EQ(g_Fighters[6]->hp, 45);
    EXPECT_EQ(g_Fighters[5]->hp, 60);

    // A target outside the fighters is reported; the arguments are read all the same.
    B().hitMark[6] = 0;
    Once(1, 8, "w4 0,1,2,3,4,5,c1 1,7,=w9 w11 0,#");
    EXPECT_EQ(Technique().iv[1], 7);
    for (uint8_t mark : B().hitMark) EXPECT_EQ(mark, 0);
    EXPECT_EQ(Reports(), 3u);
}

TEST_F(TechniqueCommandTest, EndHandsTheBattleToTheGaugesOrTheEndCheck) {
    B().gauge[3] = kGaugeFull;
    B().eventDone = 1;
    Once(3, 0, "w0 c1 0,1,=;");
    EXPECT_EQ(std::tuple(Technique().running, B().gauge[3], B().frameHandler),
              std::tuple(0, 0, &AdvanceGauges));

    for (int f = kFirstEnemySlot; f < kBattleFighterCount; ++f) B().alive[f] = 0;
    B().hudVisible = 1;
    Once(3, 0, "w0 ;");
    EXPECT_EQ(B().frameHandler, EndCheck);
    EXPECT_EQ(B().hudVisible, 0);

    // Without w0 the end is reported and the battle handed back all the same.
    Once(3, 0, "c1 0,2,=;");
    EXPECT_EQ(B().frameHandler, EndCheck);
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(TechniqueCommandTest, NameMessageTrailAndSlotsOutsideTheirTables) {
    TechniqueTables[2].Allocate(4);
    std::strcpy(TechniqueTables[2].At(3).name, "Whirl");
    B().category = 2;
    B().action[5] = 3;
    B().trailColour[5] = 0x80102030u;
    Once(5, 0, "w1 w6 w7 1,#");
    TechniqueTables[2].Release();
    EXPECT_STREQ(B().message, "Whirl");
    EXPECT_EQ(std::tuple(g_WeaponTrail.owner, g_WeaponTrail.colour, g_TrailSampling),
              std::tuple(&g_Characters[5], 0x80102030u, 1));

    // Technique sounds take slots 5-9; fighters outside 0-7 as actor or target. Each place is
    // reported once however often it runs.
    for (int i = 0; i < 2; ++i) Once(5, 12, "w3 5,w2 -6,x//w12 -1,#");
    Once(12, 1, "  w10 w6 w1 w0 #");  // places apart from the ones above
    EXPECT_EQ(Reports(), 6u);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);  // w0 still ends the technique
    Once(5, 2, "w12 -1,#");
    EXPECT_EQ(B().running[2], 1);
}

}  // namespace
