// The settings file: what it reads, what it refuses (named with the key, the value before kept),
// what it writes back (with what the engine does not know), and where it lives: the data set's
// defaults under the player's file, a folder that cannot be written, a file that cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/player_settings.h"
#include "app/quit_box.h"
#include "app/settings.h"
#include "base/bound_keys.h"
#include "base/paths.h"
#include "sound/sound.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

Settings Parsed(const std::string& text, std::vector<std::string>* problems = nullptr) {
    Settings s;
    std::vector<std::string> mine;
    EXPECT_TRUE(ParseSettings(text, s, problems ? *problems : mine)) << text;
    if (!problems) EXPECT_TRUE(mine.empty()) << mine.front();
    return s;
}

TEST(SettingsFile, EverySettingRoundTripsAndUnknownKeysStay) {
    Settings s;
    s.windowMode = WindowMode::kWindow;
    s.windowScale = WindowScale::kInteger;
    s.vsync = false;
    s.windowWidth = 1280;
    s.windowHeight = 960;
    s.musicVolume = 30;
    s.effectVolume = 0;
    BindKeyboardKey(s.keys, GameKey::kUp, 1, 'I');
    BindKeyboardKey(s.keys, GameKey::kConfirm, 0, VK_RETURN);  // the menu key takes Shift
    BindPadButton(s.keys, GameKey::kCamera, PadButton::kRightTrigger);
    s.gamepad = false;
    s.rokEdges = RokEdgeAnswer::kYes;
    s.askBeforeQuitting = false;
    const std::string previous =
        "# café, “quoted”\n[mods]\nkept = 'yes'\n  and more\n[window]\nmode = fullscreen\nfps=3\n";
    const std::string text = FormatSettings(s, previous);
    EXPECT_EQ(Parsed(text), s) << text;
    EXPECT_NE(text.find("[mods]\nkept = 'yes'\nkept = and more\n"), std::string::npos) << text;
    EXPECT_NE(text.find("mode = window\nfps = 3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("confirm = Return, Z\n"), std::string::npos) << text;
    EXPECT_NE(text.find("menu = Shift, Space\n"), std::string::npos) << text;
    EXPECT_EQ(FormatSettings(s, text), text);
    EXPECT_EQ(Parsed(FormatSettings(Settings(), "")), Settings());
}

TEST(SettingsFile, ABadValueIsNamedAndTheValueBeforeStays) {
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"[window]\nmode = \"big\"",
         "window.mode: \"big\" is not window or fullscreen (keeping \"fullscreen\")"},
        {"[window]\nvsync = yes", "window.vsync: \"yes\" is not true or false (keeping true)"},
        {"[window]\nwidth = 100", "window.width: \"100\" is not 0 or a whole number from 320"},
        {"[sound]\nmusic = 120",
         "sound.music: \"120\" is not a whole number from 0 to 100 (keeping 100)"},
        {"[sound]\nmusic = 99999999999999999999", "sound.music: \"99999999999999999999\" is"},
        {"[game]\nrok_edges = 1", "game.rok_edges: \"1\" is not ask, yes or no (keeping \"ask\")"},
        {"[keys]\nup = Nope", "keys.up: \"Nope\" is no key the game knows"},
        {"[keys]\nup = A, B, C", "keys.up: \"A, B, C\" is not a list of at most two key names"},
        {"[keys]\nup = W,", "keys.up: \"\" is no key the game knows"},
        {"[keys]\nup = Escape", "keys.up: \"Escape\" is no key the game knows"},
        {"[gamepad]\nup = Q", "gamepad.up: \"Q\" is no gamepad button (keeping \"DpadUp\")"},
        {"[keys]\nup = Q\ndown = \"Q\"",
         "keys.down: \"Q\" is up's already (keeping the keys before)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> problems;
        const Settings s = Parsed(c.text, &problems);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].rfind(c.problem, 0), 0u) << problems[0];
        Settings expected;
        if (std::string(c.text).find("Q\ndown") != std::string::npos)
            expected.keys[GameKey::kUp] = KeyBinding{{'Q', 0}, PadButton::kDpadUp};
        EXPECT_EQ(s, expected);
    }
    std::vector<std::string> problems;
    Settings s;
    // A line the file cannot hold is named, and nothing of the file is taken.
    for (const auto& [text, problem] : std::vector<std::pair<std::string, std::string>>{
             {"[sound]\nmusic = 5\n[window\n", "line 3: not a [section], a key = value line"},
             {"[sound]\nmusic\n", "line 2: not a [section]"},
             {"# " + std::string(300, 'x') + "music = 5\n", "line 1: longer than 198 bytes"},
             {std::string("[sound]\nmusic = 5\0\n", 19), "line 2: a NUL byte"}}) {
        SCOPED_TRACE(text);
        problems.clear();
        s = Settings();
        EXPECT_FALSE(ParseSettings(text, s, problems));
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].rfind(problem, 0), 0u) << problems[0];
        EXPECT_EQ(s, Settings());
    }
}

TEST(SettingsFile, AKeyGivenToOneGameKeyLeavesTheOneThatHadIt) {
    const Settings s = Parsed("[keys]\nup = Z, Up\n[gamepad]\nconfirm = DpadUp");
    EXPECT_EQ(s.keys[GameKey::kUp].keys, (std::array<int, 2>{'Z', VK_UP}));
    EXPECT_EQ(s.keys[GameKey::kConfirm].keys, (std::array<int, 2>{VK_SHIFT, 0}));
    EXPECT_EQ(s.keys[GameKey::kConfirm].pad, PadButton::kDpadUp);
    EXPECT_EQ(s.keys[GameKey::kUp].pad, PadButton::kSouth);  // the two buttons swapped
}

class PlayerSettingsTest : public HeadlessHostTest {
protected:
    fs::path dir;
    void SetUp() override {
        HeadlessHostTest::SetUp();
        dir = MakeTempDir("settings");
        fs::create_directories(dir / "data" / "Datas");
        SetDataDirectory((dir / "data").string());
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir / "ro", fs::perms::owner_all, ec);
        fs::remove_all(dir);
        SetDataDirectory("");
        ResetSettings();
        ApplySettings();
        g_RokEdgeAnswer = RokEdgeAnswer::kAskEachTime;
        HeadlessHostTest::TearDown();
    }
};

TEST_F(PlayerSettingsTest, TheDataSetsDefaultsLieUnderThePlayersFileWhichAloneIsWritten) {
    std::ofstream(dir / "data" / "Datas" / "Settings.ini")
        << "[game]\nrok_edges = no\n[sound]\nmusic = 50\n";
    const fs::path mine = dir / "cfg" / "gh02" / "settings.ini";
    LoadSettings(mine.string());
    EXPECT_EQ(g_Settings.rokEdges, RokEdgeAnswer::kNo);
    EXPECT_EQ(g_Settings.musicVolume, 50);
    EXPECT_TRUE(SaveSettings());
    EXPECT_FALSE(fs::exists(mine));  // nothing changed: nothing written

    g_Settings.effectVolume = 20;
    EXPECT_TRUE(SaveSettings());  // the folder is made
    std::ofstream(mine, std::ios::app) << "[mods]\nkept = 1\n";
    std::ofstream(dir / "data" / "Datas" / "Settings.ini") << "[sound]\nmusic = 10\n";
    LoadSettings(mine.string());
    EXPECT_EQ(g_Settings.effectVolume, 20);
    EXPECT_EQ(g_Settings.musicVolume, 50);  // the player's file has every setting
    ApplySettings();
    EXPECT_EQ(g_RokEdgeAnswer, RokEdgeAnswer::kNo);
    EXPECT_FLOAT_EQ(g_EffectGain, 0.04f);
    g_Settings.askBeforeQuitting = false;  // the settings screen's switch reaches the quit box
    ApplySettings();
    EXPECT_FALSE(g_AskBeforeQuitting);
    g_Settings.musicVolume = 60;
    EXPECT_TRUE(SaveSettings());
    EXPECT_NE(ReadFileBytes(mine).find("kept = 1"), std::string::npos);
    EXPECT_NE(ReadFileBytes(mine).find("music = 60"), std::string::npos);
}

TEST_F(PlayerSettingsTest, UnreadableOrUnwritableFilesNeverStopTheGame) {
    // A folder that cannot be written (root may write anyway: then the file is simply there).
    fs::create_directories(dir / "ro");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    LoadSettings((dir / "ro" / "gh02" / "settings.ini").string());
    g_Settings.musicVolume = 10;
    const bool written = SaveSettings();
    EXPECT_EQ(written, fs::exists(dir / "ro" / "gh02" / "settings.ini"));

    // A file with a line that is no setting is left as it is, and the defaults are used.
    const fs::path broken = dir / "broken.ini";
    std::ofstream(broken) << "[sound\nmusic = 5\n";
    LoadSettings(broken.string());
    EXPECT_EQ(g_Settings, Settings());
    g_Settings.musicVolume = 10;
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(ReadFileBytes(broken), "[sound\nmusic = 5\n");

    // A folder where the file should be.
    fs::create_directories(dir / "folder.ini");
    LoadSettings((dir / "folder.ini").string());
    EXPECT_EQ(g_Settings, Settings());
}

TEST_F(PlayerSettingsTest, ThePlayersFileIsInTheConfigFolder) {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/somewhere");
    EXPECT_EQ(DefaultSettingsPath(), "/somewhere/gh02/settings.ini");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative"), home("HOME", "/home/p");  // not absolute
    EXPECT_EQ(DefaultSettingsPath(), "/home/p/.config/gh02/settings.ini");
}

}  // namespace
