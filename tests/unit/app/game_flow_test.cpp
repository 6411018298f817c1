// The mode change at the end of a frame and the status menu screen. (The field frame and the
// first frame on the demo data are run by the end-to-end tests.)
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <tuple>

#include "app/mode_change.h"
#include "app/modes.h"
#include "app/world_reset.h"
#include "base/message_box.h"
#include "base/message_queue.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "field/field_frame.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "field/menu_pages.h"
#include "field/menu_screen.h"
#include "field/save_screen.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "gfx/sprite.h"
#include "gfx/texture_slots.h"
#include "test_support.h"
#include "ui/menu_list.h"
#include "world/data_tables.h"
#include "world/input_gate.h"
#include "world/mode_words.h"
#include "world/party.h"

namespace {

int g_Calls = 0;
// A mode that asks for a change the table does not know, under a full fade.
void RequestingMode() {
    g_FadeAlpha = 255;
    g_ModeNow = g_ModeNext = 4;
    g_ModeChangeRequest = 1;
    g_Calls = int(g_MessageBoxLog.size());
}

class GameFlowTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetGameWorld();
        g_FrameProc = NullFrameHook;  // no mode runs until a test installs one
        g_MessageQueue.Clear();
        g_FrameTime = 16;
        g_Calls = 0;
    }
    void TearDown() override {
        g_RunFieldScript = RunFieldScript;
        ResetGameWorld();
        g_MessageQueue.Clear();
        g_pd3dDevice = nullptr;
        device.reset();
        HeadlessHostTest::TearDown();
    }
    GameState& NewState() {
        g_pGameState = new GameState;
        g_pGameState->fieldHandler = NullFrameHook;
        return *g_pGameState;
    }
};

}  // namespace

TEST_F(GameFlowTest, ModeChangeRowsClearTheRequestAndTouchNothingElse) {
    struct Row {
        int32_t now, next;
        bool closes, error;
    } const rows[] = {
        // The two battle rows are the battle tests' (they build and tear down a battle).
        {1, 2, true, false}, {7, 2, true, false},  {0, 0, false, true},
        {1, 1, false, true}, {-1, 0, false, true}, {0, 3, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.now << " -> " << r.next);
        g_MessageBoxLog.clear();
        g_MessageQueue.Clear();
        g_ModeNow = r.now;
        g_ModeNext = r.next;
        g_ModeChangeRequest = 1;
        QModeChange();
        EXPECT_EQ(std::tuple(g_ModeChangeRequest, g_ModeNow, g_ModeNext),
                  std::tuple(0, r.now, r.next));
        Msg m;
        EXPECT_EQ(g_MessageQueue.Peek(m) && m.message == WM_CLOSE, r.closes);
        ASSERT_EQ(g_MessageBoxLog.size(), r.error ? 1u : 0u);
        if (r.error) {
            EXPECT_EQ(g_MessageBoxLog[0].text, "QModeChange:error\nないっす");
        }
    }
}

TEST_F(GameFlowTest, RequestTakesEffectAtTheEndOfItsFrameAfterTheFade) {
    g_FrameProc = RequestingMode;
    FrameDispatch();
    EXPECT_EQ(g_Calls, 0);  // no box while the mode ran
    ASSERT_EQ(backend.draws.size(), 1u);
    EXPECT_EQ(backend.Vertex<ScreenVertex>(backend.draws[0], 0).diffuse >> 24, 255u);
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_ModeChangeRequest, 0);
}

TEST_F(GameFlowTest, StatusColoursFollowThePoints) {
    EXPECT_EQ(PointsColour(50, 60, 0), 0xC80000u);   // down: red, magic points too
    EXPECT_EQ(PointsColour(10, 60, 10), 0xFFFFFFu);  // a sixth is still white
    EXPECT_EQ(PointsColour(9, 60, 9), 0xDCDC00u);
    EXPECT_EQ(PointsColour(1, 7, 5), 0xDCDC00u);  // the exact sixth, not 7 / 6 = 1
}

TEST_F(GameFlowTest, MenuInputWaitsThenMovesOverSevenEntriesAndCtrlCloses) {
    MenuList& list = NewState().messageWindow;
    for (int i = 0; i < kMenuEntriesShown; ++i) AddListEntry(list, SJIS("香"), 1);
    g_FieldInputEnabled = 1;
    auto step = [&](int vk, int32_t timer) {
        keys.down.clear();
        if (vk) keys.down[vk] = true;
        g_ActionTimer = timer;
        MenuInput();
    };
    step(VK_CONTROL, 0);  // within the action delay nothing is read
    EXPECT_EQ(g_ActionTimer, 16);
    step(VK_UP, 100);
    EXPECT_EQ(list.cursor, 6);  // wraps over the seven entries only
    step(VK_DOWN, 100);
    EXPECT_EQ(list.cursor, 0);
    step(VK_SHIFT, 100);
    step(VK_CONTROL, 100);  // a fresh press is not yet held
    EXPECT_EQ(g_pGameState->fieldHandler, NullFrameHook);
    step(VK_CONTROL, 100);
    EXPECT_EQ(std::tuple(g_pGameState->fieldHandler, g_ModeNext), std::tuple(&MenuFadeOut, 1));
}

TEST_F(GameFlowTest, MenuScreenDrawsThreeFacesOverItsBackground) {
    NewState();
    BindPartyFighters();
    MenuScreenFrame();
    ASSERT_FALSE(backend.draws.empty());
    EXPECT_EQ(backend.Vertex<ScreenVertex>(backend.draws[0], 0).diffuse, 0xFFC8C8C8u);
    int faces = 0;
    for (const auto& d : backend.draws)
        faces += d.state.Rs(RenderState::ZEnable) == 0 && d.call.primitiveCount == 2 &&
                 backend.Vertex<ScreenVertex>(d, 1).x == 164.0f;
    EXPECT_EQ(faces, 3);
}

TEST_F(GameFlowTest, MenuEntriesDoWhatTheDataSetSaysAndTheFieldKeepsItsPictures) {
    const std::string dir = MakeTempDir("menu_entries");
    std::filesystem::create_directories(dir + "/Datas");
    std::ofstream(dir + "/Datas/MnuDatas.qd") << "a x\nb y\nc z\nd w\ne v\nf u\ng t\n";
    SetDataDirectory(dir);
    LoadDataTables();
    NewState();
    g_FieldInputEnabled = 1;
    EXPECT_FALSE(ChooseMenuEntry(0));  // without the file no entry does anything
    std::ofstream(dir + "/Datas/MnuActions.qd")
        << "0 order\n1 settings\n2 close\n3 save\n4 script SHOP\n5 script NOWHERE\n9 fly\n";
    g_MessageBoxLog.clear();
    LoadDataTables();  // with the tables; what cannot be used is named in one box
    EXPECT_EQ(g_MessageBoxLog.back().text,
              "Datas\\MnuActions.qd:\nline 7: entry 9 is not on the menu (0-6)");

    // Opening the screen resets its pages and leaves the field's texture slots (billboards'
    // pictures) alone: the faces have their own.
    LoadTextureSlot(g_TextureSlots[10], "tex\\bush.dds");
    g_FaceNames[1][0] = 'h';
    g_MenuScreen.page = MenuPage::kItems;
    OpenMenuScreen();
    for (int i = 0; i < 9; ++i) MenuFadeOut();
    EXPECT_EQ(g_ModeNow, 0);
    EXPECT_EQ(g_MenuScreen.page, MenuPage::kMain);
    EXPECT_EQ(TextureSlotName(g_TextureSlots[10]), "tex\\bush.dds");

    EXPECT_TRUE(ChooseMenuEntry(0));
    EXPECT_EQ(std::tuple(g_MenuScreen.page, g_ActionTimer), std::tuple(MenuPage::kOrder, -128));
    g_MenuScreen.page = MenuPage::kMain;
    EXPECT_FALSE(ChooseMenuEntry(1));  // settings stay inert until a screen is installed
    static int opened = 0;
    g_OpenSettingsScreen = [] { ++opened; };
    EXPECT_TRUE(ChooseMenuEntry(1));
    EXPECT_EQ(opened, 1);
    g_OpenSettingsScreen = nullptr;
    EXPECT_FALSE(ChooseMenuEntry(6));  // an entry the file leaves out
    EXPECT_TRUE(ChooseMenuEntry(3));
    EXPECT_TRUE(g_SaveScreen.open);
    CloseSaveScreen();
    EXPECT_TRUE(ChooseMenuEntry(2));  // close, as Ctrl does
    EXPECT_EQ(std::tuple(g_pGameState->fieldHandler, g_ModeNext), std::tuple(&MenuFadeOut, 1));

    // A label runs once the field is back; one the field script lacks is named with its line.
    std::strcpy(g_FieldScriptName, "test");
    std::strcpy(g_pGameState->fieldScript.text, "c0@:SHOP//c0");
    g_ModeNow = 0;
    g_MessageBoxLog.clear();  // the tables this folder lacks
    EXPECT_TRUE(ChooseMenuEntry(5));
    RunChosenMenuLabel();
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text,
              "Datas\\MnuActions.qd line 6: the field script test has no label NOWHERE");
    g_ModeNow = 0;
    EXPECT_TRUE(ChooseMenuEntry(4));
    RunChosenMenuLabel();
    EXPECT_EQ(std::tuple(g_pGameState->fieldScript.running, g_pGameState->fieldScript.pc),
              std::tuple(1, 10));
    ResetMenuScreenState();
    ReleaseMenuFaces();
    std::filesystem::remove_all(dir);
}
