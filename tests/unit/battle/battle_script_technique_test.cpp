// The technique scripts' "w" commands.
#include <cmath>

#include "../world/character_test_util.h"
#include "battle/data_tables.h"
#include "battle_script_fixture.h"
#include "math/math_scalar.h"
#include "sound/sound.h"

namespace {

using TechniqueCommandTest = BattleScriptTest;

TEST_F(TechniqueCommandTest, RunAcceleratesToItsTopSpeedAndStopsInFrontOfTheTarget) {
    Place(1, 0.0f, 0.0f);
    Place(4, 0.0f, -2000.0f);
    Technique().iv[0] = 4;
    Play(1, "w10 @:R//w9 #c5 R//1w0 ;");
    // Per frame: move by the speed, then speed + 32 up to 2.5 x 17.
    const float expectedZ[] = {-8.5f, -49.0f, -91.5f, -134.0f};
    for (float z : expectedZ) {
        RunTechnique();
        EXPECT_FLOAT_EQ(g_Characters[1].position.z, z);
        EXPECT_EQ(Technique().iv[2], 1);
    }
    EXPECT_FLOAT_EQ(Technique().speed, 42.5f);
    Frames(100);
    EXPECT_EQ(Technique().running, 0);
    EXPECT_FLOAT_EQ(g_Characters[1].position.z, -2000.0f + 160.0f);
    EXPECT_FLOAT_EQ(g_Characters[1].position.x, 0.0f);
    EXPECT_FLOAT_EQ(g_Characters[1].rotation.y, 180.0f * kDegToRad);
    EXPECT_EQ(Technique().iv[2], 0);

    // Along x, toward a target on the right: stops 160 short of it on the actor's side.
    Place(2, 0.0f, 0.0f);
    Place(6, 1000.0f, 0.0f);
    Technique().iv[0] = 6;
    Play(2, "w10 @:R//w9 #c5 R//1w0 ;");
    Frames(100);
    EXPECT_NEAR(g_Characters[2].position.x, 840.0f, 0.5f);
    EXPECT_NEAR(g_Characters[2].position.z, 0.0f, 0.5f);
    EXPECT_EQ(Reports(), 0u);
}

TEST_F(TechniqueCommandTest, ReactionTurnsTheTargetAndPicksItsStance) {
    Place(0, 0.0f, 1000.0f);
    Place(5, 0.0f, 0.0f);
    B().running[5] = 1;
    Technique().iv[0] = 5;
    Play(0, "w11 0,#");
    RunTechnique();
    Character& t = g_Characters[5];
    EXPECT_NEAR(t.rotation.y, 180.0f * kDegToRad + kPi, 1e-5f);  // faces the actor, along +z
    EXPECT_EQ(B().running[5], 0);
    EXPECT_EQ(t.model.GetCurrentAnimation(), uint32_t(kMotionHit));
    EXPECT_EQ(t.motionFlags, kMotionPlaying);  // not looping
    EXPECT_EQ(t.queuedMotion, kMotionBattleStance + 1);

    // Exactly one sixth keeps the normal stance; below it, the low one.
    g_Fighters[5]->hp = 10;
    Play(0, "w11 0,#");
    RunTechnique();
    EXPECT_EQ(t.queuedMotion, kMotionBattleStance + 1);
    g_Fighters[5]->hp = 9;
    Play(0, "w11 0,#");
    RunTechnique();
    EXPECT_EQ(t.queuedMotion, kMotionLowHpStance + 1);

    // A fighter that is down does not turn; another mode leaves the reaction to the hit rule,
    // which knocks down a fighter the pending damage leaves without points.
    t.rotation.y = 1.0f;
    t.queuedMotion = 0;
    B().alive[5] = 0;
    B().pendingAmount[5] = -9;
    Play(0, "w11 1,#");
    RunTechnique();
    EXPECT_EQ(t.rotation.y, 1.0f);
    EXPECT_EQ(t.model.GetCurrentAnimation(), uint32_t(kMotionDown));
    EXPECT_EQ(t.queuedMotion, 0);
}

TEST_F(TechniqueCommandTest, BringBackWaitsForReactionsThenSnapsOrRunsHome) {
    BuildModel(g_Characters[3].model, {"body"}, {{kMotionHit, "btl_hit", {0, 100}}});
    g_Characters[3].SetMotion(kMotionHit, 0);
    for (int f : {3, 4, 5, 6}) B().hitMark[f] = 1;
    B().hitMark[7] = 0;
    B().alive[6] = 0;
    B().home[4] = Vector3{100.0f, 0.0f, 0.0f};
    Place(4, 100.0f, 128.0f);  // at 128 exactly: placed home
    B().home[5] = Vector3{0.0f, 0.0f, 0.0f};
    Place(5, 100.0f, 100.0f);  // about 141 away: runs home
    Place(6, 900.0f, 0.0f);    // down: left where it fell
    Place(7, 900.0f, 0.0f);    // not hit: left alone
    Play(0, "w13 #");
    RunTechnique();
    EXPECT_EQ(Technique().iv[2], 1);  // fighter 3 is still in its hit reaction
    EXPECT_EQ(g_Characters[4].position.z, 0.0f);
    EXPECT_EQ(B().running[4], 0);
    EXPECT_EQ(B().running[5], 1);
    EXPECT_EQ(g_Characters[5].position.x, 100.0f);
    EXPECT_EQ(B().running[6] + B().running[7], 0);

    g_Characters[3].model.AdvanceAnimation(32);
    Place(3, 5000.0f, 0.0f);
    Play(0, "w13 #");
    RunTechnique();
    EXPECT_EQ(Technique().iv[2], 0);
    EXPECT_EQ(B().running[3], 1);
}

TEST_F(TechniqueCommandTest, CoverPutsAGuardBetweenTheTargetAndTheActor) {
    Place(4, 0.0f, -1000.0f);  // the enemy actor
    Place(1, 0.0f, 1000.0f);   // its target
    g_Characters[1].collisionSize = 100.0f;
    g_Characters[2].collisionSize = 50.0f;
    g_Characters[2].position = Vector3{500.0f, 7.0f, 500.0f};
    g_Characters[1].position.y = 3.0f;
    B().target[4] = 1;
    B().statusBits[1] = kCoverBit;  // the target itself does not count
    B().statusBits[0] = kCoverBit;  // down: does not count
    B().alive[0] = 0;

    Play(4, "w14 0,#");
    RunTechnique();
    EXPECT_EQ(B().target[4], 1);  // nobody qualifies: the target stays

    B().statusBits[2] = kCoverBit;
    B().running[2] = 1;
    Play(4, "w14 1,#");  // only 0 covers
    RunTechnique();
    EXPECT_EQ(B().target[4], 1);

    Play(4, "w14 0,#");
    RunTechnique();
    EXPECT_EQ(B().target[4], 2);
    const Character& guard = g_Characters[2];
    EXPECT_NEAR(guard.position.x, 0.0f, 0.01f);
    EXPECT_NEAR(guard.position.z, 1000.0f - 150.0f, 0.01f);
    EXPECT_EQ(guard.position.y, 3.0f);
    EXPECT_NEAR(guard.rotation.y, 180.0f * kDegToRad, 1e-5f);  // faces the actor
    EXPECT_EQ(B().running[2], 0);
}

TEST_F(TechniqueCommandTest, AnimationFrameTestAndStatusBits) {
    BuildModel(g_Characters[2].model, {"body"}, {{0, "btl_stand", {0, 100}}});
    g_Characters[2].SetMotion(0, 1);
    Play(2, "w8 0,c1 0,-3,=w8 1,c1 1,-3,=w15 4,w15 0,#");
    Technique().iv[2] = 1;
    RunTechnique();
    EXPECT_EQ(Technique().iv[0], 0);  // frame 0 is never below 0
    EXPECT_EQ(Technique().iv[1], 1);
    EXPECT_EQ(B().statusBits[2], 0x11u);

    Play(2, "w15 32,w15 -1,#");  // no such bits: reported and ignored
    RunTechnique();
    EXPECT_EQ(B().statusBits[2], 0x11u);
    EXPECT_EQ(Reports(), 2u);
}

TEST_F(TechniqueCommandTest, HitAndApplyCallThroughToTheBattleRules) {
    Technique().iv[0] = 6;
    Play(1, "w4 1,100,50,0,0,0,w4 1,100,50,0,3,0,#");
    RunTechnique();
    EXPECT_EQ(B().hitMark[6], 1);
    EXPECT_EQ(B().pendingStat[6], 3);
    EXPECT_EQ(B().hitMark[5], 0);

    // The marked fighters take their pending amounts; crit 0 skips the critical display.
    B().pendingStat[6] = 0;
    B().pendingAmount[6] = -15;
    B().pendingAmount[5] = -15;  // not marked
    B().criticalFlags[6] = 1;
    B().labelColour[6] = 0xFFFFFF;
    Play(1, "w5 0,#");
    RunTechnique();
    EXPECT_EQ(g_Fighters[6]->hp, 45);
    EXPECT_EQ(g_Fighters[5]->hp, 60);
    EXPECT_EQ(B().criticalFlags[6] & 1u, 0u);
    EXPECT_EQ(B().labelColour[6], 0u);

    // A target outside the fighters is reported; the arguments are read all the same.
    B().hitMark[6] = 0;
    Technique().iv[0] = 8;
    Play(1, "w4 0,1,2,3,4,5,c1 1,7,=w9 w11 0,#");
    RunTechnique();
    EXPECT_EQ(Technique().iv[1], 7);
    for (int f = 0; f < kBattleFighterCount; ++f) EXPECT_EQ(B().hitMark[f], 0) << f;
    EXPECT_EQ(Reports(), 3u);
}

TEST_F(TechniqueCommandTest, EndHandsTheBattleToTheGaugesOrTheEndCheck) {
    B().gauge[3] = kGaugeFull;
    B().eventDone = 1;
    B().hudVisible = 1;
    Play(3, "w0 c1 0,1,=;");
    RunTechnique();
    EXPECT_EQ(Technique().running, 0);
    EXPECT_EQ(B().gauge[3], 0);
    EXPECT_EQ(B().eventDone, 0);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
    EXPECT_EQ(B().hudVisible, 1);
    EXPECT_EQ(Technique().iv[0], 1);  // w0 does not end the frame by itself

    for (int f = kFirstEnemySlot; f < kBattleFighterCount; ++f) B().alive[f] = 0;
    Play(3, "w0 ;");
    RunTechnique();
    EXPECT_EQ(B().frameHandler, EndCheck);
    EXPECT_EQ(B().hudVisible, 0);

    // A technique that ends without w0 is reported and hands the battle back all the same.
    for (int f = kFirstEnemySlot; f < kBattleFighterCount; ++f) B().alive[f] = 1;
    B().gauge[3] = kGaugeFull;
    Play(3, "c1 0,2,=;");
    RunTechnique();
    EXPECT_EQ(B().gauge[3], 0);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(TechniqueCommandTest, NameMessageTrailAndSoundSlots) {
    TechniqueTables[2].Allocate(4);
    std::strcpy(TechniqueTables[2].At(3).name, "Whirl");
    B().category = 2;
    B().action[5] = 3;
    B().trailColour[5] = 0x80102030u;
    Play(5, "w1 w6 w7 1,#");
    RunTechnique();
    TechniqueTables[2].Release();
    EXPECT_STREQ(B().message, "Whirl");
    EXPECT_EQ(B().messageCounter, 32);
    EXPECT_EQ(g_WeaponTrail.owner, &g_Characters[5]);
    EXPECT_EQ(g_WeaponTrail.colour, 0x80102030u);
    EXPECT_EQ(g_TrailSampling, 1);

    // Technique sounds use slots 5-9: slot 5 and above is outside the table, reported once per
    // position however often it runs.
    ISoundBuffer* before[kSeSlotCount];
    std::copy(g_SeSlots, g_SeSlots + kSeSlotCount, before);
    for (int i = 0; i < 3; ++i) {
        Play(5, "w3 5,w2 -6,x//w2 9,//w12 8,w12 -1,#");
        Technique().iv[0] = 12;
        RunTechnique();
    }
    EXPECT_EQ(Reports(), 5u);
    EXPECT_TRUE(std::equal(g_SeSlots, g_SeSlots + kSeSlotCount, before));

    // w12 resolves a reference: -1 is the fighter in iv[0].
    Play(5, "w12 -1,#");
    Technique().iv[0] = 2;
    RunTechnique();
    EXPECT_EQ(B().running[2], 1);
}

TEST_F(TechniqueCommandTest, ArithmeticFindsTheActorAndItsTarget) {
    B().target[6] = 2;
    Play(6, "c1 0,0,Ac1 1,0,M#");
    RunTechnique();
    EXPECT_EQ(Technique().iv[0], 2);
    EXPECT_EQ(Technique().iv[1], 6);

    // A fighter outside the table has no target; outside a battle both operators are reported.
    Technique().actor = 9;
    Play(9, "c1 0,0,Ac1 1,0,M#");
    RunTechnique();
    EXPECT_EQ(Technique().iv[0], 2);  // no target for a fighter outside the table
    EXPECT_EQ(Technique().iv[1], 9);
    g_pBattle.reset();
    QScrOrg s;
    Put(s, "c1 0,0,Ac1 1,0,M#");
    s.iv[0] = s.iv[1] = 4;
    RunScriptLoop(s, "test", nullptr);
    EXPECT_EQ(s.iv[0] + s.iv[1], 8);
    EXPECT_EQ(Reports(), 3u);
}

TEST_F(TechniqueCommandTest, ActorOutsideTheFightersIsReportedAndIgnored) {
    Place(1, 0.0f, 0.0f);
    Play(12, "w10 w9 w6 w14 0,w15 1,w8 3,w1 w0 #");
    Technique().iv[0] = 1;
    RunTechnique();
    EXPECT_EQ(Reports(), 7u);
    EXPECT_EQ(g_WeaponTrail.owner, nullptr);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);  // w0 still ends the technique
}

}  // namespace
