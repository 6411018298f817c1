// The settings in the real program, on the demo adventure: its せってい entry opens the settings
// screen, a volume changed there and a key bound on its keys page are written to the --config
// file (pictures of both pages compared with their references); a file's key bindings decide
// what walks Harlo; the user's own settings file is never read by a headless run; a bad value is
// named and a file that cannot be written does not stop the game; a title file that names the
// settings entry shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "e2e_run.h"
#include "reference_picture.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const fs::path kDemo = fs::path(GH02_BINARY).parent_path();

bool DemoBuilt() {
    return fs::exists(kDemo / "SCR" / "test.qd");
}

std::string Text(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// One headless run of the demo: the keys, then dumps and pictures at the frames asked for; its
// standard error is kept.
struct DemoRun {
    fs::path dir = MakeTempDir("e2e_settings");
    std::string args, env;
    ~DemoRun() { fs::remove_all(dir); }
    void Run(const std::string& keys, int frames, std::initializer_list<int> dumps,
             std::initializer_list<int> shots = {}) {
        std::ofstream(dir / "keys.txt") << keys;
        fs::create_directories(dir / "saves");
        std::string all = args + " --headless --seed 7 --frames " + std::to_string(frames) +
                          " --save-dir " + (dir / "saves").string() + " --input " +
                          (dir / "keys.txt").string();
        for (int f : dumps) all += " --dump-state " + std::to_string(f) + ":" + Dump(f);
        for (int f : shots) all += " --screenshot " + std::to_string(f) + ":" + Shot(f);
        const std::string cmd =
            env + " " GH02_BINARY " " + all + " >/dev/null 2>" + (dir / "stderr.txt").string();
        ASSERT_NE(std::system(cmd.c_str()), -1);
    }
    std::string Dump(int f) const { return (dir / (std::to_string(f) + ".json")).string(); }
    std::string Shot(int f) const { return (dir / (std::to_string(f) + ".png")).string(); }
    json State(int f) const { return fs::exists(Dump(f)) ? ReadJson(Dump(f)) : json(); }
    std::string Errors() const { return Text(dir / "stderr.txt"); }
};

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

std::string TripKeys() {
    return Presses(kOpening) + Presses(kSettingsTrip);
}

TEST(SettingsE2e, TheMenuOpensTheScreenWhoseChangesAreWrittenToTheFile) {
    if (!DemoBuilt()) GTEST_SKIP() << "the demo data was not built beside the game";
    DemoRun run;
    const fs::path config = run.dir / "config" / "gh02" / "settings.ini";
    run.args = "--config " + config.string();
    run.Run(TripKeys(), kLeft + 1, {kOnSettings, kMusicDown, kOnKeys, kLeft},
            {kOnSettings, kOnKeys});

    const json on = run.State(kOnSettings);
    ASSERT_FALSE(on["settingsScreen"].is_null()) << "the せってい entry did not open the screen";
    EXPECT_EQ(on["settingsScreen"]["page"], "settings");
    EXPECT_EQ(on["settingsScreen"]["lines"][3]["value"], "100%");
    EXPECT_EQ(on["settings"]["game"]["rok_edges"], "no");  // the demo's own settings
    ExpectLikeReference(run.Shot(kOnSettings), "settings");

    EXPECT_EQ(run.State(kMusicDown)["settings"]["sound"]["music"], 90);

    const json keys = run.State(kOnKeys);
    EXPECT_EQ(keys["settingsScreen"]["page"], "keys");
    EXPECT_EQ(keys["settings"]["keys"]["up"], json({"I", "W"}));
    ExpectLikeReference(run.Shot(kOnKeys), "settings_keys");

    const json left = run.State(kLeft);
    EXPECT_TRUE(left["settingsScreen"].is_null());
    EXPECT_EQ(left["g_FrameProc"], "MenuScreenFrame");
    const std::string file = Text(config);
    EXPECT_NE(file.find("music = 90"), std::string::npos) << file;
    EXPECT_NE(file.find("up = I, W\n"), std::string::npos) << file;
    EXPECT_NE(file.find("rok_edges = no\n"), std::string::npos) << file;

    // Where the file cannot be written (its folder is a file), the game goes on all the same.
    DemoRun blocked;
    std::ofstream(blocked.dir / "folder");
    blocked.args = "--config " + (blocked.dir / "folder" / "settings.ini").string();
    blocked.Run(TripKeys(), kLeft + 1, {kLeft});
    EXPECT_EQ(blocked.State(kLeft)["settings"]["sound"]["music"], 90);
    EXPECT_NE(blocked.Errors().find("the settings cannot be written"), std::string::npos)
        << blocked.Errors();
}

// Up held for a while, then I: dumps before, between and after.
constexpr int kBefore = 419, kArrowDone = 480, kLetterDone = 560;
const Press kWalks[] = {{420, "up", 60}, {490, "i", 70}};

double LeaderZ(const DemoRun& run, int frame) {
    return run.State(frame)["character0"]["position"][2].get<double>();
}

TEST(SettingsE2e, TheFilesBindingsDecideWhatWalksAndTheUsersOwnFileIsNotRead) {
    if (!DemoBuilt()) GTEST_SKIP() << "the demo data was not built beside the game";
    const std::string keys = Presses(kOpening) + Presses(kWalks);
    DemoRun bound;
    std::ofstream(bound.dir / "mine.ini") << "[keys]\nup = I\n[sound]\nmusic = loud\n";
    bound.args = "--config " + (bound.dir / "mine.ini").string();
    bound.Run(keys, kLetterDone + 1, {kBefore, kArrowDone, kLetterDone});
    EXPECT_EQ(LeaderZ(bound, kArrowDone), LeaderZ(bound, kBefore)) << "the arrow still walks";
    EXPECT_NE(LeaderZ(bound, kLetterDone), LeaderZ(bound, kArrowDone)) << "I does not walk";
    EXPECT_NE(bound.Errors().find("mine.ini: sound.music: \"loud\" is not a whole number from 0 "
                                  "to 100 (keeping 100)"),
              std::string::npos)
        << bound.Errors();

    // The same file as the user's own: a headless run without --config plays as it always has.
    DemoRun plain;
    fs::create_directories(plain.dir / "xdg" / "gh02");
    fs::copy_file(bound.dir / "mine.ini", plain.dir / "xdg" / "gh02" / "settings.ini");
    plain.env = "XDG_CONFIG_HOME=" + (plain.dir / "xdg").string();
    plain.Run(keys, kLetterDone + 1, {kBefore, kArrowDone});
    EXPECT_NE(LeaderZ(plain, kArrowDone), LeaderZ(plain, kBefore));
    EXPECT_EQ(plain.State(kBefore)["settings"]["game"]["rok_edges"], "ask");
    EXPECT_EQ(plain.Errors().find("settings.ini"), std::string::npos) << plain.Errors();
}

TEST(SettingsE2e, ATitleThatNamesTheEntryShowsItBeforeQuit) {
    if (!DemoBuilt()) GTEST_SKIP() << "the demo data was not built beside the game";
    DemoRun run;
    // The demo's data with a title file that names the entry.
    const fs::path data = run.dir / "data";
    fs::create_directories(data / "Datas");
    for (const fs::directory_entry& e : fs::directory_iterator(kDemo))
        if (e.path().filename() != "Datas")
            fs::create_symlink(e.path(), data / e.path().filename());
    for (const fs::directory_entry& e : fs::directory_iterator(kDemo / "Datas"))
        fs::copy_file(e.path(), data / "Datas" / e.path().filename());
    std::ofstream(data / "Datas" / "Title.qd", std::ios::app) << "settings  Settings\n";
    run.args = "--data " + data.string();
    // Down past the grey Continue and Load to the settings, in and out again.
    const Press keys[] = {{9, "down"}, {30, "down"}, {50, "shift"}, {80, "ctrl"}};
    run.Run(Presses(keys), 101, {45, 70, 100});
    const json on = run.State(45)["titleMenu"];
    ASSERT_EQ(on["entries"].size(), 5u);
    EXPECT_EQ(on["entries"][3]["text"], "Settings");
    EXPECT_EQ(on["entries"][4]["text"], "おわる");
    EXPECT_EQ(on["cursor"], 3);
    EXPECT_EQ(run.State(70)["settingsScreen"]["title"], "せってい");
    const json back = run.State(100);
    EXPECT_TRUE(back["settingsScreen"].is_null());
    EXPECT_EQ(back["titleMenu"]["cursor"], 3);
}

}  // namespace
