// Saving through the game's own screens on the demo adventure: the sign's question opens the
// save screen (f14), Shift writes the game into a slot, Ctrl closes the screen and the talk goes
// on; a game loaded from that slot goes on from the same place. The title takes saves up by
// Continue and by Load, and ends the program by Quit. A write that fails is told on the screen
// and leaves the old save as it was. Saves record a fixed date (SOURCE_DATE_EPOCH), so the
// pictures of the slot list repeat.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"
#include "reference_picture.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// New game on the title, the opening's three lines, then up along the square until Harlo bumps
// into the sign (frame 687) and its words and question show.
const std::string kToTheSign =
    "9 shift down\n10 shift up\n200 shift down\n203 shift up\n370 shift down\n373 shift up\n"
    "400 shift down\n403 shift up\n430 right down\n436 right up\n440 up down\n690 up up\n";
// The first answer (記録する) opens the save screen; its keys wait for a fresh press.
const std::string kToTheScreen = kToTheSign + "720 shift down\n732 shift up\n";
// Shift saves into slot 1, Down and Shift into slot 2, Ctrl closes the screen.
const std::string kTwoSaves = kToTheScreen +
                              "760 shift down\n763 shift up\n780 down down\n783 down up\n"
                              "800 shift down\n803 shift up\n830 ctrl down\n833 ctrl up\n";
constexpr int kScreenOpen = 740, kTwoFilled = 815, kClosed = 850;

// A run of the demo on the saves given, saving at a fixed date.
struct DatedRun : DemoRun {
    DatedRun(const std::string& keys, int frames, const fs::path& saves = {})
        : DemoRun("e2e_save_screen", keys, frames, saves) {
        env = "SOURCE_DATE_EPOCH=1798761600 TZ=UTC";
    }
};

class SaveScreenRun : public ::testing::Test {
protected:
    // One play that saves twice, shared by the tests (they copy its saves).
    static void SetUpTestSuite() {
        if (!fs::exists(kDemoData / "Datas" / "Title.qd")) return;
        played_ = std::make_unique<DatedRun>(kTwoSaves, kClosed + 1);
        played_->DumpAt({kScreenOpen, kTwoFilled, kClosed});
        played_->ShotAt({kTwoFilled});
        exit_ = played_->Run();
    }
    static void TearDownTestSuite() { played_.reset(); }
    void SetUp() override {
        if (!played_) GTEST_SKIP() << "the demo data was not built beside the game";
        saves = MakeTempDir("e2e_save_screen_saves");
        fs::copy(played_->Dir() / "saves", saves);
        // Copies are as new as each other: slot 2 is made the one saved last, as it was.
        const fs::path first = saves / "slot01.json";
        fs::last_write_time(first, fs::last_write_time(first) - std::chrono::hours(1));
    }
    void TearDown() override {
        if (!saves.empty()) fs::remove_all(saves);
    }

    static inline std::unique_ptr<DatedRun> played_;
    static inline int exit_ = -1;
    fs::path saves;
};

}  // namespace

TEST_F(SaveScreenRun, SavesTwiceThenGoesOnAndALoadedGameGoesOnAsWell) {
    ASSERT_EQ(exit_, 0);
    const json open = played_->State(kScreenOpen);
    ASSERT_FALSE(open["saveScreen"].is_null());
    EXPECT_EQ(open["saveScreen"]["slots"].size(), 8u);
    ExpectFields(open["saveScreen"],
                 {{"/slots/0/state", "empty"}, {"/message", "どこに　記録しますか？"}});

    const json two = played_->State(kTwoFilled);
    const json& slots = two["saveScreen"]["slots"];
    for (int s = 0; s < 8; ++s) EXPECT_EQ(slots[s]["state"], s < 2 ? "filled" : "empty") << s;
    ExpectFields(two["saveScreen"], {{"/cursor", 1},
                                     {"/message", "No.2 に　記録しました。"},
                                     {"/slots/1/heading", "baske0"},
                                     {"/slots/1/note", "2027-01-01 00:00"},
                                     {"/slots/1/detail", "ミナ  HP 100/100  0:00:13"}});
    // The field held still under the screen: nobody moved and the talk waits.
    EXPECT_EQ(two["character0"], open["character0"]);
    EXPECT_EQ(two["GameState"]["fieldScript"]["pc"], open["GameState"]["fieldScript"]["pc"]);
    ExpectLikeReference(played_->Shot(kTwoFilled), "save_screen");

    // Closed, the script went on behind f14 and ended the talk.
    ExpectFields(played_->State(kClosed), {{"/saveScreen", nullptr},
                                           {"/g_TalkWindows/0/open", 0},
                                           {"/GameState/fieldScript/running", 0}});

    // Slot 2 taken up in a new process: the same field, the talk ended as after the screen, and
    // the keys walk Harlo away.
    DatedRun load("20 down down\n40 down up\n", 61, saves);
    load.With("--load 2");
    load.DumpAt({5, 60});
    ASSERT_EQ(load.Run(), 0);
    const json loaded = load.State(5);
    ExpectFields(loaded, {{"/g_FrameProc", "FieldFrame"},
                          {"/saveScreen", nullptr},
                          {"/titleMenu", nullptr},
                          {"/g_TalkWindows/0/open", 0},
                          {"/GameState/fieldScript/running", 0},
                          {"/character0", two["character0"]}});
    EXPECT_NE(load.State(60)["character0"], loaded["character0"]);
}

TEST_F(SaveScreenRun, TheTitleTakesUpSavesAndQuits) {
    const json saved = played_->State(kTwoFilled)["character0"];
    const struct {
        const char* path;
        std::string keys;
        int shot;      // the title shown, before it is left
        int cursor;    // the title's cursor then
        bool listed;   // the slot list is shown then
        int slotFrom;  // the frame that shows the field of the save (0: the program has ended)
    } paths[] = {
        // The cursor starts on Continue, which takes up the save made last (slot 2).
        {"Continue", "9 shift down\n10 shift up\n", 5, 1, false, 30},
        // Down to Load, the slot list with its cursor on slot 2, up to slot 1, Shift.
        {"Load",
         "9 down down\n10 down up\n30 shift down\n31 shift up\n50 up down\n51 up up\n"
         "70 shift down\n71 shift up\n",
         60, 2, true, 90},
        // Down twice to Quit: the program ends as the game's own "end" does.
        {"Quit", "9 down down\n10 down up\n30 down down\n31 down up\n50 shift down\n51 shift up\n",
         40, 3, false, 0},
    };
    for (const auto& p : paths) {
        SCOPED_TRACE(p.path);
        const int last = p.slotFrom ? p.slotFrom : 100;
        DatedRun run(p.keys, last + 1, saves);
        run.DumpAt({p.shot, last});
        EXPECT_EQ(run.Run(), 0);
        const json title = run.State(p.shot);
        ExpectFields(title, {{"/g_FrameProc", "TitleFrame"},
                             {"/titleMenu/cursor", p.cursor},
                             {"/titleMenu/entries/1/choosable", true}});
        EXPECT_EQ(title["titleMenu"]["slotList"].is_null(), !p.listed);
        if (p.listed)
            ExpectFields(title["titleMenu"]["slotList"],
                         {{"/cursor", 0}, {"/slots/2/state", "empty"}});
        if (!p.slotFrom) {
            EXPECT_TRUE(run.State(last).is_null());
            continue;
        }
        ExpectFields(
            run.State(last),
            {{"/g_FrameProc", "FieldFrame"}, {"/titleMenu", nullptr}, {"/character0", saved}});
    }
}

TEST_F(SaveScreenRun, AWriteThatFailsIsToldAndTheOldSaveStays) {
    // A folder where the slot's temporary file goes: writing it fails, even for root.
    fs::create_directories(saves / "slot01.json.tmp");
    const std::string before = ReadFileBytes(saves / "slot01.json");
    DatedRun run(kToTheScreen + "760 shift down\n763 shift up\n", 781, saves);
    run.DumpAt({780});
    ASSERT_EQ(run.Run(), 0);
    const json screen = run.State(780)["saveScreen"];
    const std::string message = screen["message"];
    EXPECT_EQ(message.rfind("No.1 に　記録できません：cannot write slot01.json.tmp: ", 0), 0u)
        << message;
    EXPECT_EQ(screen["slots"][0]["state"], "filled");
    EXPECT_EQ(ReadFileBytes(saves / "slot01.json"), before);
}
