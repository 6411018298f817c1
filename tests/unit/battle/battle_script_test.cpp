// The battle's event and technique scripts: loading, starting, the event frame and the "e"
// commands.
#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "battle_script_fixture.h"

namespace {

void OtherPhase() {}

class BattleEventTest : public BattleScriptTest {
protected:
    void Start(std::string_view text, const char* label) {
        Put(Event(), text);
        B().frameHandler = OtherPhase;
        StartEvent(Event(), label);
    }
};

TEST_F(BattleEventTest, StartRunsTheFirstFrameAtOnceAndE0HandsTheBattleBack) {
    Start("@:INING//c1 0,9,=#@:START//c1 0,5,=#c1 1,6,=e0 c1 0,1,=;", "START");
    EXPECT_EQ(Event().iv[0], 5);  // the label's first frame ran inside StartEvent
    EXPECT_EQ(B().frameHandler, EventRunning);
    EXPECT_EQ(B().returnHandler, OtherPhase);

    EventRunning();
    EXPECT_EQ(Event().iv[1], 6);
    EXPECT_EQ(Event().iv[0], 5);  // e0 ended the frame before the next command
    EXPECT_EQ(Event().running, 0);
    EXPECT_EQ(B().frameHandler, OtherPhase);
}

TEST_F(BattleEventTest, TildeWaitsUntilTheMessageHasRunOut) {
    Start("@:WIN//c3 first//=e1 c3 second//=e1 ~c1 0,1,=e0 ;", "WIN");
    // The second message replaced the first and restarted the count.
    EXPECT_STREQ(B().message, "second");
    EXPECT_EQ(B().messageCounter, 64);
    for (int frame = 1; frame < 64; ++frame) EventRunning();
    EXPECT_EQ(Event().iv[0], 0);  // still waiting on the '~'
    EventRunning();
    EXPECT_EQ(Event().iv[0], 1);
    EXPECT_EQ(B().frameHandler, OtherPhase);
}

TEST_F(BattleEventTest, HomeCameraEntries) {
    Start("@:START//e2 0,90,e2 2,-512.5,e2 5,3,e2 6,7,e0 ;", "START");
    const HomeCamera& cam = B().homeCamera;
    EXPECT_FLOAT_EQ(cam.angle, 90.0f * 0.017453277f);  // degrees become radians
    EXPECT_EQ(cam.eyeY, -512.5f);
    EXPECT_EQ(cam.target.z, 3.0f);
    EXPECT_EQ(B().frameHandler, OtherPhase);  // entry 6 was passed over, e0 still ran
}

TEST_F(BattleEventTest, EventsThatLoseTheirWayStillHandTheBattleBack) {
    // Ended by ';' without e0: reported, and the next label's text is not run into.
    Start("@:START//c1 0,1,=#;@:WIN//c1 0,2,=e0 ;", "START");
    EventRunning();
    EXPECT_EQ(Event().iv[0], 1);
    EXPECT_EQ(B().frameHandler, OtherPhase);
    EXPECT_EQ(Reports(), 1u);

    // A label that is not there: only the search reports it.
    Start("@:START//e0 ;", "G_O");
    EXPECT_EQ(B().frameHandler, OtherPhase);
    EXPECT_EQ(g_MessageBoxLog.back().text, "ラベルがねぇよ:G_O");
    EXPECT_EQ(Reports(), 2u);

    // Without a battle nothing starts or runs.
    g_pBattle.reset();
    QScrOrg s;
    StartEvent(s, "A");
    EventRunning();
    RunTechnique();
    EXPECT_EQ(Reports(), 2u);
}

class BattleScriptFileTest : public BattleScriptTest {
protected:
    void SetUp() override {
        BattleScriptTest::SetUp();
        dir_ = MakeTempDir("battle-scripts");
        std::filesystem::create_directories(dir_ + "/SCR/wz");
        std::filesystem::create_directories(dir_ + "/SCR/bEv");
        SetDataDirectory(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        BattleScriptTest::TearDown();
    }
    void Write(const std::string& rel, const std::string& text) {
        std::ofstream(dir_ + "/" + rel, std::ios::binary) << text;
        ClearPathCache();
    }
    std::string dir_;
};

TEST_F(BattleScriptFileTest, TechniqueFileFollowsTheActionKindAndNumber) {
    Write("SCR/wz/i12.qd", "c1 0,12,=w0 ;");
    B().actionKind = 2;
    B().action[4] = 12;
    QScrOrg& s = Technique();
    LoadTechniqueScript(s, 4);
    EXPECT_STREQ(TechniqueScriptName(), "wz\\i12");
    EXPECT_EQ(s.actor, 4);
    B().frameHandler = ActionRunning;
    RunTechnique();
    EXPECT_EQ(s.iv[0], 12);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
    EXPECT_EQ(Reports(), 0u);
}

TEST_F(BattleScriptFileTest, MissingTechniqueEndsAtOnceInsteadOfReplayingTheLastOne) {
    Write("SCR/wz/m0.qd", "c1 0,1,+w0 ;");
    QScrOrg& s = Technique();
    LoadTechniqueScript(s, 0);
    B().frameHandler = ActionRunning;
    RunTechnique();
    ASSERT_EQ(s.iv[0], 1);

    B().action[0] = 5;  // wz\m5 does not exist
    LoadTechniqueScript(s, 0);
    B().frameHandler = ActionRunning;
    RunTechnique();
    EXPECT_EQ(s.iv[0], 1);
    EXPECT_EQ(B().frameHandler, AdvanceGauges);
    ASSERT_EQ(Reports(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "QScrOrg:Reading error!:\nwz\\m5");
}

}  // namespace
