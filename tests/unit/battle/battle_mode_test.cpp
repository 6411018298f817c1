#include <filesystem>
#include <fstream>

#include "app/game_start.h"
#include "app/mode_change.h"
#include "app/quit.h"
#include "base/paths.h"
#include "battle_test_util.h"
#include "field/field_frame.h"
#include "field/field_save.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "gfx/texture.h"
#include "gfx/texture_slots.h"
#include "math/math_scalar.h"
#include "world/field_tables.h"

namespace fs = std::filesystem;

namespace {

// From the field into a battle and back, through the mode change, with a data directory that
// has the party's character, a field script and the battle's event script.
class BattleModeTest : public BattleTest {
protected:
    void SetUp() override {
        BattleTest::SetUp();
        g_pBattle.reset();
        g_pHomeCamera = nullptr;
        FreeEnemyFighters();
        ResetCharacters();

        dir = MakeTempDir("battle_mode");
        fs::create_directories(fs::path(dir) / "chara");
        fs::create_directories(fs::path(dir) / "SCR" / "bEv");
        std::ofstream(fs::path(dir) / "chara" / "hero.qd") << "hero.rzo\n1.0,0,128,\n";
        std::ofstream(fs::path(dir) / "SCR" / "test.qd") << "@:A//c0 #\n";
        std::ofstream(fs::path(dir) / "SCR" / "bEv" / "ev0.qd")
            << "@:INING//e0 #\n@:START//e0 #\n@:WIN//e0 #\n@:G_O//e0 #\n";
        SetDataDirectory(dir);
        ClearPathCache();
        RZ_Model m;
        BuildModel(m, {"head_b", "wea_b"}, Motions());
        ASSERT_TRUE(
            m.Save((std::string(GetBasePath()) + "chara\\hero.rzo").c_str(), RZ_SaveFormat::Ascii));
        ClearPathCache();

        StartFieldTables();
        for (int i = 0; i < kPartyMemberCount; ++i) {
            std::snprintf(g_FaceNames[i], kFaceNameSize, "hero");
            g_PartyMembers[i].maxHp = g_PartyMembers[i].hp = 100;
        }
        g_pGameState = new GameState();
        g_pGameState->fieldScript.pc = 37;
        std::snprintf(g_FieldScriptName, kScriptNameSize, "test");
        // The leader, and field people in slots 4 and 9.
        for (int i : {0, 4, 9}) {
            Character& c = g_Characters[i];
            c.LoadCharacter("hero");
            c.position = Vector3{1000.0f * float(i + 1), 5.0f, -2000.0f};
            c.rotation.y = 0.5f;
        }
        g_Camera.target = Vector3{100.0f, 200.0f, -300.0f};
        g_Camera.angle = 0.25f;
        g_Camera.distance = 1500.0f;
        UpdateCameraEye();
        fieldEye = g_Camera.eye;
        g_MessageBoxLog.clear();
    }
    void TearDown() override {
        BattleTest::TearDown();  // the world reset takes the game state and the field's tables
        fs::remove_all(dir);
    }
    static void Request(int32_t now, int32_t next) {
        g_ModeNow = now;
        g_ModeNext = next;
        g_ModeChangeRequest = 1;
        QModeChange();
    }
    std::string dir;
    Vector3 fieldEye;
};

}  // namespace

TEST_F(BattleModeTest, AFightWithoutEnemiesEndsInVictoryAndReturnsThroughTheFrames) {
    for (int32_t& e : g_EnemySet) e = -1;
    g_FadeAlpha = 255;
    Request(1, 0);
    ASSERT_EQ(g_FrameProc, BattleFrame);
    int frames = 0;
    bool sawVictory = false;
    for (; frames < 400 && g_FrameProc == BattleFrame; ++frames) {
        FrameDispatch();
        if (g_pBattle && g_pBattle->frameHandler == VictoryFadeOut) sawVictory = true;
    }
    EXPECT_TRUE(sawVictory);
    EXPECT_EQ(g_FrameProc, FieldFrame);
    EXPECT_EQ(g_FadeAlpha, 255);  // the field fades in from a covered screen
    // 16 frames of fade-in, the victory sequence of 65 + 16 frames, a few between.
    EXPECT_GT(frames, 16 + 81);
    EXPECT_LT(frames, 16 + 81 + 10);
}

TEST_F(BattleModeTest, EscapeInABattleReleasesTheBattleAndItsEnemies) {
    Request(1, 0);
    ASSERT_TRUE(g_pBattle);
    ReleaseWorldOnQuit();
    EXPECT_FALSE(g_pBattle);
    EXPECT_EQ(g_pHomeCamera, nullptr);
    for (int i = kFirstEnemySlot; i < kBattleFighterCount; ++i) EXPECT_EQ(g_Fighters[i], nullptr);
}
