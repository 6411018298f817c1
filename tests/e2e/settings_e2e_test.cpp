// The settings in the real program, on the demo adventure: its せってい entry opens the settings
// screen, a volume changed there and a key bound on its keys page are written to the --config
// file (pictures of both pages compared with their references); a file's key bindings decide
// what walks Harlo; the user's own settings file is never read by a headless run; a bad value is
// named and a file that cannot be written does not stop the game; a title file that names the
// settings entry shows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"
#include "reference_picture.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// New game, the opening's three lines: from frame 410 Harlo is free to walk.
const Press kOpening[] = {{9, "shift", 1}, {200, "shift", 3}, {370, "shift", 3}, {400, "shift", 3}};

// Then the menu, down to せってい (the sixth entry) and into the settings screen; the music one
// step down; down to the keys page and Up's first key made I; back, and out (written).
constexpr int kOnSettings = 590, kMusicDown = 680, kOnKeys = 880, kLeft = 960;
const Press kSettingsTrip[] = {
    {420, "return", 3}, {460, "down"}, {480, "down"}, {500, "down"}, {520, "down"},  {540, "down"},
    {570, "shift"},     {600, "down"}, {620, "down"}, {640, "down"}, {660, "left"},  {700, "down"},
    {720, "down"},      {740, "down"}, {760, "down"}, {780, "down"}, {800, "shift"}, {830, "shift"},
    {850, "i"},         {900, "ctrl"}, {930, "ctrl"},
};
const std::string kTripKeys = Presses(kOpening) + Presses(kSettingsTrip);

TEST(SettingsE2e, TheMenuOpensTheScreenWhoseChangesAreWrittenToTheFile) {
    SKIP_WITHOUT_DEMO_DATA();
    DemoRun run("e2e_settings", kTripKeys, kLeft + 1);
    run.With("--config {dir}/config/gh02/settings.ini");
    run.DumpAt({kOnSettings, kMusicDown, kOnKeys, kLeft});
    run.ShotAt({kOnSettings, kOnKeys});
    ASSERT_EQ(run.Run(), 0);

    // The demo's own settings come first.
    const json on = run.State(kOnSettings);
    ASSERT_FALSE(on["settingsScreen"].is_null()) << "the せってい entry did not open the screen";
    ExpectFields(on, {{"/settingsScreen/page", "settings"},
                      {"/settingsScreen/lines/3/value", "100%"},
                      {"/settings/game/rok_edges", "no"}});
    ExpectLikeReference(run.Shot(kOnSettings), "settings");

    EXPECT_EQ(run.State(kMusicDown)["settings"]["sound"]["music"], 90);
    ExpectFields(run.State(kOnKeys),
                 {{"/settingsScreen/page", "keys"}, {"/settings/keys/up", json({"I", "W"})}});
    ExpectLikeReference(run.Shot(kOnKeys), "settings_keys");

    ExpectFields(run.State(kLeft),
                 {{"/settingsScreen", nullptr}, {"/g_FrameProc", "MenuScreenFrame"}});
    const std::string file = ReadFileBytes((run.Dir() / "config/gh02/settings.ini").string());
    for (const char* line : {"music = 90", "up = I, W\n", "rok_edges = no\n"})
        EXPECT_NE(file.find(line), std::string::npos) << file;

    // Where the file cannot be written (its folder is a file), the game goes on all the same.
    DemoRun blocked("e2e_settings", kTripKeys, kLeft + 1);
    blocked.With("--config {dir}/folder/settings.ini");
    std::ofstream(blocked.Dir() / "folder");
    blocked.DumpAt({kLeft});
    ASSERT_EQ(blocked.Run(), 0);
    EXPECT_EQ(blocked.State(kLeft)["settings"]["sound"]["music"], 90);
    EXPECT_NE(blocked.Errors().find("the settings cannot be written"), std::string::npos)
        << blocked.Errors();
}

// Up held for a while, then I: dumps before, between and after.
constexpr int kBeforeWalks = 419, kArrowDone = 480, kLetterDone = 560;
const Press kWalks[] = {{420, "up", 60}, {490, "i", 70}};

double LeaderZ(const GameRun& run, int frame) {
    return run.State(frame)["character0"]["position"][2].get<double>();
}

TEST(SettingsE2e, TheFilesBindingsDecideWhatWalksAndTheUsersOwnFileIsNotRead) {
    SKIP_WITHOUT_DEMO_DATA();
    const std::string keys = Presses(kOpening) + Presses(kWalks);
    DemoRun bound("e2e_settings", keys, kLetterDone + 1);
    bound.With("--config {dir}/mine.ini");
    std::ofstream(bound.Dir() / "mine.ini") << "[keys]\nup = I\n[sound]\nmusic = loud\n";
    bound.DumpAt({kBeforeWalks, kArrowDone, kLetterDone});
    ASSERT_EQ(bound.Run(), 0);
    EXPECT_EQ(LeaderZ(bound, kArrowDone), LeaderZ(bound, kBeforeWalks)) << "the arrow still walks";
    EXPECT_NE(LeaderZ(bound, kLetterDone), LeaderZ(bound, kArrowDone)) << "I does not walk";
    EXPECT_NE(bound.Errors().find("mine.ini: sound.music: \"loud\" is not a whole number from 0 "
                                  "to 100 (keeping 100)"),
              std::string::npos)
        << bound.Errors();

    // The same file as the user's own: a headless run without --config plays as it always has.
    DemoRun plain("e2e_settings", keys, kLetterDone + 1);
    fs::create_directories(plain.Dir() / "xdg" / "gh02");
    fs::copy_file(bound.Dir() / "mine.ini", plain.Dir() / "xdg" / "gh02" / "settings.ini");
    plain.env = "XDG_CONFIG_HOME=" + (plain.Dir() / "xdg").string();
    plain.DumpAt({kBeforeWalks, kArrowDone});
    ASSERT_EQ(plain.Run(), 0);
    EXPECT_NE(LeaderZ(plain, kArrowDone), LeaderZ(plain, kBeforeWalks));
    EXPECT_EQ(plain.State(kBeforeWalks)["settings"]["game"]["rok_edges"], "ask");
    EXPECT_EQ(plain.Errors().find("settings.ini"), std::string::npos) << plain.Errors();
}

TEST(SettingsE2e, ATitleThatNamesTheEntryShowsItBeforeQuit) {
    SKIP_WITHOUT_DEMO_DATA();
    // The demo's data with a title file that names the entry. Down past the grey Continue and
    // Load to the settings, in and out again.
    const Press keys[] = {{9, "down"}, {30, "down"}, {50, "shift"}, {80, "ctrl"}};
    const fs::path data = MakeTempDir("e2e_settings_title");
    DemoRun run("e2e_settings", Presses(keys), 101, {}, data);
    fs::create_directories(data / "Datas");
    for (const fs::directory_entry& e : fs::directory_iterator(kDemoData))
        if (e.path().filename() != "Datas")
            fs::create_symlink(e.path(), data / e.path().filename());
    for (const fs::directory_entry& e : fs::directory_iterator(kDemoData / "Datas"))
        fs::copy_file(e.path(), data / "Datas" / e.path().filename());
    std::ofstream(data / "Datas" / "Title.qd", std::ios::app) << "settings  Settings\n";
    run.DumpAt({45, 70, 100});
    ASSERT_EQ(run.Run(), 0);
    fs::remove_all(data);
    const json on = run.State(45)["titleMenu"];
    ASSERT_EQ(on["entries"].size(), 5u);
    ExpectFields(on,
                 {{"/entries/3/text", "Settings"}, {"/entries/4/text", "おわる"}, {"/cursor", 3}});
    EXPECT_EQ(run.State(70)["settingsScreen"]["title"], "せってい");
    ExpectFields(run.State(100), {{"/settingsScreen", nullptr}, {"/titleMenu/cursor", 3}});
}

}  // namespace
