// The first frame, the new game it starts, the mode change at the end of a frame, the field
// frame's script step and the status menu screen's input and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/crt_rand.h"
#include "app/field_frame.h"
#include "app/game_start.h"
#include "app/game_state.h"
#include "app/keys.h"
#include "app/menu_screen.h"
#include "app/message_box.h"
#include "app/message_queue.h"
#include "app/mode_change.h"
#include "app/mode_words.h"
#include "app/modes.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/sjis.h"
#include "app/sprite.h"
#include "app/ui_textures.h"
#include "battle/data_tables.h"
#include "battle/menu_list.h"
#include "battle/talk_window.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "gfx/texture_slots.h"
#include "sound/sound.h"
#include "test_support.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_runtime.h"
#include "world/field_tables.h"
#include "world/field_transitions.h"
#include "world/party.h"

namespace fs = std::filesystem;

namespace {

// The demo data the build lays beside the game: <build>/game, the test program being in
// <build>/tests.
fs::path BuiltGameDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().parent_path() / "game";
}

class GameFlowTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetCharacters();
        ResetCamera();
        ResetModeWords();
        ResetModes();
        ResetKeys();
        ResetTalkWindows();
        ResetFieldRuntime();
        ResetParty();
        g_MessageQueue.Clear();
        g_FrameTime = 16;
    }
    void TearDown() override {
        delete g_pGameState;
        g_pGameState = nullptr;
        g_RunFieldScript = nullptr;
        for (TextureSlot& s : g_UiTextures) {
            if (s.texture) s.texture->Release();
            s = {};
        }
        ReleaseTextureSlots();
        ReleaseFieldTables();
        ReleaseDataTables();
        DestroyCharacterModels();
        ResetCharacters();
        ResetModes();
        g_MessageQueue.Clear();
        g_pd3dDevice = nullptr;
        device.reset();
        HeadlessHostTest::TearDown();
    }
};

}  // namespace

TEST_F(GameFlowTest, FirstFrameStartsANewGameOnTheDemoData) {
    fs::path game = BuiltGameDir();
    if (!fs::exists(game / "Datas")) GTEST_SKIP() << "no built demo data at " << game;
    SetDataDirectory(game.string());
    // Sound effects are found from the current directory, as the game is started beside them.
    const fs::path oldCwd = fs::current_path();
    fs::current_path(game);
    ASSERT_TRUE(InitSound(nullptr));
    SetFixedSeed(false, 0);
    clock.now = 123456;
    g_FrameProc = StartupFrame;
    FrameDispatch();

    EXPECT_EQ(g_FrameProc, FieldFrame);
    EXPECT_EQ(g_FieldFrameProc, FieldFrame);
    EXPECT_EQ(g_MenuScreenFrameProc, MenuScreenFrame);
    EXPECT_TRUE(g_MessageBoxLog.empty()) << g_MessageBoxLog.front().text;

    // Render states and the one directional light.
    const DeviceState& st = device->State();
    EXPECT_EQ(st.Rs(RenderState::CullMode), 1u);
    EXPECT_EQ(st.Rs(RenderState::ZEnable), 1u);
    EXPECT_EQ(st.Rs(RenderState::Lighting), 1u);
    EXPECT_EQ(st.Rs(RenderState::ShadeMode), 2u);
    EXPECT_EQ(st.Rs(RenderState::NormalizeNormals), 1u);
    EXPECT_EQ(st.lights[0].type, LightType::Directional);
    EXPECT_FLOAT_EQ(st.lights[0].ambient.r, 0.75f);
    EXPECT_FLOAT_EQ(st.material.ambient.g, 0.5f);
    EXPECT_TRUE(st.lightEnabled[0]);

    // Seeded from the tick count (nothing else draws before the field's first update).
    EXPECT_EQ(CrtRandState(), 123456u);

    ASSERT_NE(g_pGameState, nullptr);
    GameState& gs = *g_pGameState;
    EXPECT_STREQ(g_FieldName, "baske0");
    EXPECT_STREQ(g_FieldScriptName, "test");
    EXPECT_EQ(gs.fieldScript.running, 1);
    EXPECT_EQ(gs.fieldScript.pc, 0);
    EXPECT_EQ(gs.fieldScript.aux, 15);
    EXPECT_NE(gs.fieldScript.text[0], '\0');
    EXPECT_EQ(gs.fieldHandler, FieldFadeIn);
    EXPECT_EQ(gs.groundLighting, 0);
    EXPECT_EQ(g_ModeNow, 0);
    EXPECT_EQ(g_ModeNext, 0);
    EXPECT_EQ(g_ModeChangeRequest, 0);
    EXPECT_EQ(g_ActionTimer, 80);
    EXPECT_EQ(g_EncounterRate, 8);
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_STREQ(g_BattleMusicName, "btl0");

    // Sky, ground picture and interface images.
    for (int i = 0; i <= 5; ++i) EXPECT_NE(g_TextureSlots[i].texture, nullptr) << "slot " << i;
    EXPECT_NE(g_UiTextures[0].texture, nullptr);
    EXPECT_NE(g_UiTextures[1].texture, nullptr);
    EXPECT_EQ(g_UiTextures[2].texture, nullptr);
    EXPECT_NE(g_SeSlots[0], nullptr);
    EXPECT_NE(g_SeSlots[1], nullptr);

    // The party at full points and bound in the order (1, 0, 3).
    for (const FighterRecord& m : g_PartyMembers) {
        EXPECT_EQ(m.hp, m.maxHp);
        EXPECT_EQ(m.mp, m.maxMp);
        EXPECT_GT(m.maxHp, 0);
    }
    EXPECT_EQ(g_PartyOrder[0], 1);
    EXPECT_EQ(g_PartyOrder[1], 0);
    EXPECT_EQ(g_PartyOrder[2], 3);
    EXPECT_EQ(g_Fighters[0], &g_PartyMembers[1]);
    EXPECT_EQ(g_Fighters[1], &g_PartyMembers[0]);
    EXPECT_EQ(g_Fighters[2], &g_PartyMembers[3]);

    // The leader and the second character where a new game puts them.
    EXPECT_EQ(g_Characters[0].active, 1);
    EXPECT_FLOAT_EQ(g_Characters[0].position.x, 16384.0f);
    EXPECT_FLOAT_EQ(g_Characters[0].position.z, -12288.0f);
    EXPECT_FLOAT_EQ(g_Characters[1].position.x, 20000.0f);
    EXPECT_FLOAT_EQ(g_Characters[1].position.z, -10240.0f);

    // The camera: idle handler, eye 2000 from the target on the ground, at height 3000.
    EXPECT_EQ(g_Camera.handler, NullFrameHook);
    EXPECT_FLOAT_EQ(g_Camera.target.x, 2000.0f);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3000.0f);
    EXPECT_NEAR(std::hypot(g_Camera.eye.x - g_Camera.target.x, g_Camera.eye.z - g_Camera.target.z),
                2000.0f, 0.01f);

    // The next frame is the field's and draws it.
    backend.drawCount = 0;
    FrameDispatch();
    EXPECT_GT(backend.drawCount, 0u);
    ReleaseSound();
    fs::current_path(oldCwd);
}

TEST_F(GameFlowTest, ModeChangeTableAndItsErrorBox) {
    g_FrameProc = NullFrameHook;
    struct Row {
        int32_t now, next;
        bool closes, error;
    };
    const Row rows[] = {
        {1, 0, false, false},  // to the battle: not built yet, request dropped
        {0, 1, false, false},  // back to the field: likewise
        {1, 2, true, false},  {0, 2, true, false},  {7, 2, true, false}, {0, 0, false, true},
        {1, 1, false, true},  {-1, 0, false, true}, {0, 3, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.now << " -> " << r.next);
        g_MessageBoxLog.clear();
        g_MessageQueue.Clear();
        g_ModeNow = r.now;
        g_ModeNext = r.next;
        g_ModeChangeRequest = 1;
        g_FadeAlpha = 255;
        QModeChange();
        EXPECT_EQ(g_ModeChangeRequest, 0);
        EXPECT_EQ(g_ModeNow, r.now);
        EXPECT_EQ(g_ModeNext, r.next);
        EXPECT_EQ(g_FadeAlpha, 255);
        EXPECT_EQ(g_FrameProc, NullFrameHook);
        Msg m;
        if (r.closes) {
            ASSERT_TRUE(g_MessageQueue.Peek(m));
            EXPECT_EQ(m.message, WM_CLOSE);
            EXPECT_EQ(m.wParam, 0u);
        } else {
            EXPECT_FALSE(g_MessageQueue.Peek(m));
        }
        if (r.error) {
            ASSERT_EQ(g_MessageBoxLog.size(), 1u);
            EXPECT_EQ(g_MessageBoxLog[0].text, "QModeChange:error\nないっす");
        } else {
            EXPECT_TRUE(g_MessageBoxLog.empty());
        }
    }
}

namespace {
int g_Order = 0;
int g_BoxesSeenByHandler = -1;
void RequestingHandler() {
    g_BoxesSeenByHandler = int(g_MessageBoxLog.size());
    g_FadeAlpha = 255;
    g_ModeNow = 4;
    g_ModeNext = 4;
    g_ModeChangeRequest = 1;
    ++g_Order;
}
}  // namespace

TEST_F(GameFlowTest, RequestRunsAtTheEndOfTheSameFrameAfterTheFade) {
    backend.keep = true;
    g_FrameProc = RequestingHandler;
    FrameDispatch();
    EXPECT_EQ(g_BoxesSeenByHandler, 0);
    EXPECT_EQ(g_ModeChangeRequest, 0);
    // The fade rectangle was drawn over the frame, then the change ran (its error box).
    ASSERT_EQ(backend.draws.size(), 1u);
    EXPECT_EQ(backend.Vertex<ScreenVertex>(backend.draws[0], 0).diffuse >> 24, 255u);
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
    // Without a request the frame ends without a change.
    g_FrameProc = NullFrameHook;
    g_FadeAlpha = 0;
    FrameDispatch();
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(backend.draws.size(), 1u);
}

namespace {
int g_ScriptRuns = 0;
void CountScriptRun() {
    ++g_ScriptRuns;
}
}  // namespace

TEST_F(GameFlowTest, FieldFrameRunsTheScriptOnlyWhileItRuns) {
    g_pGameState = new GameState;
    g_pGameState->fieldHandler = NullFrameHook;
    g_ScriptRuns = 0;
    FieldFrame();  // no runner wired: the step is skipped
    g_RunFieldScript = CountScriptRun;
    FieldFrame();
    EXPECT_EQ(g_ScriptRuns, 0);
    g_pGameState->fieldScript.running = 1;
    FieldFrame();
    FieldFrame();
    EXPECT_EQ(g_ScriptRuns, 2);
    // The field frame leaves the message windows' cull mode behind.
    EXPECT_EQ(device->State().Rs(RenderState::CullMode), 3u);
}

TEST_F(GameFlowTest, StatusColoursFollowThePoints) {
    EXPECT_EQ(PointsColour(0, 60, 0), 0xC80000u);    // down: red
    EXPECT_EQ(PointsColour(50, 60, 0), 0xC80000u);   // magic points of a fighter who is down
    EXPECT_EQ(PointsColour(10, 60, 10), 0xFFFFFFu);  // a sixth is still white
    EXPECT_EQ(PointsColour(9, 60, 9), 0xDCDC00u);
    EXPECT_EQ(PointsColour(1, 7, 5), 0xDCDC00u);  // compared with the exact sixth, not 7 / 6 = 1
    EXPECT_EQ(PointsColour(2, 7, 5), 0xFFFFFFu);
    EXPECT_EQ(PointsColour(0, 0, 5), 0xFFFFFFu);  // no maximum: nothing to fall short of
}

TEST_F(GameFlowTest, MenuInputWaitsThenMovesTheCursorAndCtrlCloses) {
    g_pGameState = new GameState;
    MenuList& list = g_pGameState->messageWindow;
    for (int i = 0; i < kMenuEntriesShown; ++i) AddListEntry(list, SJIS("香"), 1);
    g_pGameState->fieldHandler = NullFrameHook;
    g_FieldInputEnabled = 1;
    g_ModeNow = 0;

    // Within the action delay nothing is read.
    g_ActionTimer = 0;
    keys.down[VK_CONTROL] = true;
    MenuInput();
    EXPECT_EQ(g_ActionTimer, 16);
    EXPECT_EQ(g_pGameState->fieldHandler, NullFrameHook);

    // Up from entry 0 wraps to entry 6, over the seven entries only.
    keys.down[VK_CONTROL] = false;
    keys.down[VK_UP] = true;
    g_ActionTimer = 100;
    MenuInput();
    EXPECT_EQ(list.cursor, 6);
    keys.down[VK_UP] = false;
    keys.down[VK_DOWN] = true;
    g_ActionTimer = 100;
    MenuInput();
    EXPECT_EQ(list.cursor, 0);
    keys.down[VK_DOWN] = false;

    // Shift has no effect here.
    keys.down[VK_SHIFT] = true;
    g_ActionTimer = 100;
    MenuInput();
    EXPECT_EQ(g_pGameState->fieldHandler, NullFrameHook);
    keys.down[VK_SHIFT] = false;

    // Ctrl held (a press, then still down) closes the screen.
    keys.down[VK_CONTROL] = true;
    g_ActionTimer = 100;
    MenuInput();
    g_ActionTimer = 100;
    MenuInput();
    EXPECT_EQ(g_pGameState->fieldHandler, MenuFadeOut);
    EXPECT_EQ(g_ModeNext, 1);
    EXPECT_EQ(g_FieldInputEnabled, 0);
}

TEST_F(GameFlowTest, MenuScreenDrawsWithoutLoadedData) {
    g_pGameState = new GameState;
    g_pGameState->fieldHandler = NullFrameHook;
    BindPartyFighters();
    g_PartyMembers[1].hp = 0;
    backend.keep = true;
    MenuScreenFrame();
    ASSERT_FALSE(backend.draws.empty());
    // The background covers the screen first.
    const auto& bg = backend.draws[0];
    EXPECT_EQ(backend.Vertex<ScreenVertex>(bg, 0).diffuse, 0xFFC8C8C8u);
    // Three face pictures, drawn opaque with the depth test off.
    int faces = 0;
    for (const auto& d : backend.draws)
        if (d.state.Rs(RenderState::ZEnable) == 0 &&
            d.state.Rs(RenderState::AlphaBlendEnable) == 0 && d.call.primitiveCount == 2 &&
            std::abs(backend.Vertex<ScreenVertex>(d, 1).x - 164.0f) < 1.0f)
            ++faces;
    EXPECT_EQ(faces, 3);
    DrawPicture(0, 0, 64, 10, 10);  // outside the table: nothing
    DrawPicture(0, 0, -1, 10, 10);
    EXPECT_EQ(backend.draws.size(), backend.drawCount);
}
