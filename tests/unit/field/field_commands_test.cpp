// The field script's "f" commands, run through the field runner on the game state's script.
// (Loading fields and characters, the enemies of the next battles and putting characters on the
// ground are run by the end-to-end tests and the play-through.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>

#include "app/world_reset.h"
#include "base/paths.h"
#include "battle/battle.h"
#include "field/field_commands.h"
#include "field/field_move.h"
#include "field/field_runtime.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "script/commands_shared.h"
#include "script/script_runner.h"
#include "script_test_util.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_tables.h"
#include "world/inventory.h"
#include "world/party.h"
#include "world/scene_view.h"

namespace fs = std::filesystem;

namespace {

class FieldCommandTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    std::string dir;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetGameWorld();  // also the identity view and projection
        g_pGameState = new GameState;
        g_pGameState->fieldHandler = nullptr;
    }
    void TearDown() override {
        ResetGameWorld();
        g_pd3dDevice = nullptr;
        device.reset();
        if (!dir.empty()) fs::remove_all(dir);
        HeadlessHostTest::TearDown();
    }

    QScrOrg& Script() { return g_pGameState->fieldScript; }
    // Sets the field script's text (with the loader's "c0" behind it) and runs one frame.
    void Run(const std::string& text) {
        SetText(Script(), text + "c0");
        Script().running = 1;
        Script().aux = 0;
        RunFieldScript();
    }
    static size_t Reports() { return g_MessageBoxLog.size(); }
};

}  // namespace

TEST_F(FieldCommandTest, ShowTextTypesAnewAndLaysOutUnlessAskedNotTo) {
    TalkWindow& t = g_TalkWindows[1];
    t.x = 630;
    t.y = 470;
    t.shown = 9;
    Run("c3 Hi//=f0 1,1;");
    EXPECT_STREQ(t.text, "Hi\\e");
    // 1 + 10 a byte, one line; then moved back inside the screen. The ";" waits for the player.
    EXPECT_EQ(std::tuple(t.w, t.x, t.y, Script().running), std::tuple(41, 640 - 41, 460, 0));

    // A register with no room for the escape keeps its text whole.
    std::string full(QScrOrg::kStrSize - 2, 'x');
    SetText(Script(), "f0 0,0;c0");
    std::memcpy(Script().str, full.c_str(), full.size() + 1);
    Script().running = 1;
    RunFieldScript();
    EXPECT_EQ(std::string(Script().str), full);
    EXPECT_EQ(TalkTextLength(g_TalkWindows[0]), kTalkTextSize - 1);
    EXPECT_EQ(Reports(), 0u);
}

// f10, which closes all three and ends the conversation, is run end to end.
TEST_F(FieldCommandTest, WindowsCloseAfterTheirFrames) {
    for (TalkWindow& t : g_TalkWindows) t.open = kTalkStaysOpen;
    Run("f5 0,1,f5 30,2,#");
    EXPECT_EQ(g_TalkWindows[1].open, 0);
    EXPECT_EQ(g_TalkWindows[2].open, 30);
    EXPECT_EQ(Reports(), 0u);
}

// The list's entries and its place under the talk window are run by the end-to-end tests.
TEST_F(FieldCommandTest, ChoiceListAtACharacterAndSelectorsOutsideTheirRange) {
    MenuList& list = g_pGameState->messageWindow;
    g_Characters[2].position = Vector3{0.5f, 0.0f, 0.0f};
    Run("f8 2,2,0,#");
    EXPECT_EQ(std::tuple(list.x, list.y), std::tuple(480, 240));  // (0.5 + 1) x 320

    Run("f8 4,0,0,f8 7,1,1,f8 -1,1,1,#");  // selectors outside 0-6 do nothing
    EXPECT_EQ(Reports(), 0u);

    // A character outside the table is reported and leaves the place alone.
    Run("f8 2,20,0,#");
    EXPECT_EQ(list.x, 480);
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(FieldCommandTest, TalkWindowAtACharacterStaysOnScreen) {
    TalkWindow& t = g_TalkWindows[2];
    t.w = 200;
    t.h = 40;
    g_Characters[4].position = Vector3{0.5f, 0.0f, 0.0f};
    Run("f4 2,4,#");
    EXPECT_EQ(std::tuple(t.x, t.y), std::tuple(440, 240));  // 480 + 200 would leave the screen
    EXPECT_EQ(Reports(), 0u);
    Run("f4 3,4,f4 2,-1,f5 0,7,#");
    EXPECT_EQ(Reports(), 3u);
    EXPECT_EQ(t.y, 240);
}

TEST_F(FieldCommandTest, UnknownNumbersAndAMissingFieldAreSafe) {
    // f99's argument text is read on as plain text; its "c" acts.
    Run("f99 c1 0,5,=f-3 f #");
    EXPECT_EQ(Script().iv[0], 5);
    EXPECT_EQ(Reports(), 0u);

    delete g_pGameState;
    g_pGameState = nullptr;
    QScrOrg s;
    SetText(s, "c3 x//=f9 f8 0,1,0,f0 0,1,f10 c0");
    s.running = 1;
    RunScriptLoop(s, "loose", &kFieldCommands);
    EXPECT_EQ(Reports(), 2u);  // f9 and f8 need the field's list
    EXPECT_STREQ(g_TalkWindows[0].text, "x\\e");
    EXPECT_EQ(std::tuple(g_TalkWindows[0].open, s.running), std::tuple(0, 0));  // f10 closed it
}

TEST_F(FieldCommandTest, GoodsAndWeaponsAreGivenTakenAndCountedWithinTheirTables) {
    ParseGoods("herb a 30 0\nwater b 0 10\n", Goods);
    dir = MakeTempDir("field_stock");
    fs::create_directories(fs::path(dir) / "Wea");
    std::ofstream(fs::path(dir) / "Wea" / "w-3.qd") << "NO\n";
    SetDataDirectory(dir);
    ResetInventory();
    Run("f15 1,120,f16 1,20,f17 1,#");  // at most 99 are carried
    EXPECT_EQ(Script().iv[0], 79);
    Run("c1 0,1,=f15 -1,2,f16 0,5,f17 0,#");  // a reference; never fewer than none
    EXPECT_EQ(std::tuple(g_GoodsStock.Count(1), Script().iv[0]), std::tuple(81, 0));
    Run("f18 3,2,f19 3,1,f16 1,-1,f20 3,#");  // -1 reads iv[0]: 0 taken
    EXPECT_EQ(std::tuple(g_GoodsStock.Count(1), Script().iv[0], Reports()), std::tuple(81, 1, 0u));

    // A record outside the goods table, a weapon outside 0-255 or without its file: named with
    // the command, nothing changes, and a count reads 0.
    Run("f15 2,1,f18 256,1,f18 4,1,c1 0,7,=f20 4,#");
    ASSERT_EQ(Reports(), 4u);
    EXPECT_NE(g_MessageBoxLog[0].text.find("f15 give goods: goods record 2 out of range"),
              std::string::npos)
        << g_MessageBoxLog[0].text;
    EXPECT_NE(g_MessageBoxLog[1].text.find("f18 give weapons: weapon 256 out of range"),
              std::string::npos);
    EXPECT_NE(g_MessageBoxLog[2].text.find("f18 give weapons: no weapon file Wea\\w-4.qd"),
              std::string::npos);
    EXPECT_EQ(Script().iv[0], 0);
    EXPECT_EQ(g_WeaponStock.Held(), (std::vector<std::pair<int32_t, int32_t>>{{3, 1}}));
    ReleaseDataTables();
    ResetInventory();
}
