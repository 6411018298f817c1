// Plays the game-flow data set (tests/fixtures/gameflow, built beside the tests) through the
// real binary: the opening line, a conversation with a choice list, a place trigger with a
// camera path that changes the script, the new script loading another field, and the menu
// screen opened and closed. One run; each test reads the dumps and pictures it needs.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

#ifdef GH02_GAMEFLOW_DATA
const char* const kData = GH02_GAMEFLOW_DATA;
#else
const char* const kData = "";
#endif

// Frames the key timeline below is built around.
constexpr int kOpeningShown = 25;  // the opening line typed out, waiting
constexpr int kOpeningDone = 35;   // confirmed: the script ended with f10
constexpr int kListOpen = 65;      // talking to character 1: question and choice list
constexpr int kCursorMoved = 80;   // Down moved the list's cursor to the second entry
constexpr int kAnswered = 110;     // the answer to "No" typed out
constexpr int kQuiet = 139;        // nothing open; the view as at kListOpen
constexpr int kPlaceFired = 205;   // walked onto place 0: camera path running
constexpr int kPathDone = 230;     // the camera path has ended
constexpr int kFading = 250;       // the script change's fade
constexpr int kNewScript = 280;    // the new script loaded another field and speaks
constexpr int kMenuScreen = 335;   // the menu screen, faded in
constexpr int kBackOnField = 370;  // closed again
constexpr int kLastFrame = 371;

const char* const kKeys = R"(# the opening line
30 shift down
32 shift up
# talk to character 1 and answer its question with the second entry
50 shift down
53 shift up
70 down down
75 down up
85 shift down
91 shift up
115 shift down
117 shift up
# walk onto place 0, then confirm its line (the script changes behind it)
140 up down
215 up up
240 shift down
242 shift up
290 shift down
292 shift up
# the menu screen and back
310 return down
313 return up
340 ctrl down
343 ctrl up
)";

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[size_t(y * w + x) * 3]; }
};

Picture LoadPicture(const fs::path& p) {
    Picture pic;
    int comp = 0;
    uint8_t* data = stbi_load(p.c_str(), &pic.w, &pic.h, &comp, 3);
    if (!data) return {};
    pic.rgb.assign(data, data + size_t(pic.w) * pic.h * 3);
    stbi_image_free(data);
    return pic;
}

struct Colour {
    double a, r, g, b;
};
Colour Unpack(uint32_t argb) {
    return {double(argb >> 24) / 255.0, double((argb >> 16) & 255), double((argb >> 8) & 255),
            double(argb & 255)};
}
Colour Mix(const Colour& p, const Colour& q, double t) {
    return {p.a + (q.a - p.a) * t, p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t,
            p.b + (q.b - p.b) * t};
}

// Share of the pixels of a rectangle that show `over` (a colour blended with its alpha over
// what `under` shows there), within 14 per channel. `at` gives the colour at a fraction across
// (horizontal) or down (vertical) the rectangle.
template <typename ColourAt>
double BlendedShare(const Picture& shot, const Picture& under, int x0, int y0, int w, int h,
                    ColourAt at) {
    int match = 0, total = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            if (x < 0 || y < 0 || x >= shot.w || y >= shot.h) continue;
            const Colour c = at(double(x - x0) / w, double(y - y0) / h);
            const uint8_t* bg = under.At(x, y);
            const uint8_t* px = shot.At(x, y);
            const double want[3] = {c.a * c.r + (1 - c.a) * bg[0], c.a * c.g + (1 - c.a) * bg[1],
                                    c.a * c.b + (1 - c.a) * bg[2]};
            bool ok = true;
            for (int k = 0; k < 3; ++k) ok = ok && std::fabs(want[k] - px[k]) <= 14.0;
            match += ok;
            ++total;
        }
    return total ? double(match) / total : 0.0;
}

bool Near(const uint8_t* px, int r, int g, int b) {
    return std::abs(px[0] - r) <= 12 && std::abs(px[1] - g) <= 12 && std::abs(px[2] - b) <= 12;
}

class GameFlowRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!fs::exists(fs::path(kData) / "SCR" / "test.qd")) return;
        dir_ = new fs::path(MakeTempDir("e2e_flow"));
        std::ofstream(*dir_ / "keys.txt") << kKeys;
        std::string args = "--headless --data " + std::string(kData) + " --seed 3 --frames " +
                           std::to_string(kLastFrame + 1) + " --input " +
                           (*dir_ / "keys.txt").string();
        for (int f : {kOpeningShown, kOpeningDone, kListOpen, kCursorMoved, kAnswered, kQuiet,
                      kPlaceFired, kPathDone, kFading, kNewScript, kMenuScreen, kBackOnField})
            args += " --dump-state " + std::to_string(f) + ":" + Dump(f).string();
        for (int f : {kListOpen, kQuiet, kMenuScreen})
            args += " --screenshot " + std::to_string(f) + ":" + Shot(f).string();
        exitCode_ = RunGh02(args);
    }
    static void TearDownTestSuite() {
        if (dir_) fs::remove_all(*dir_);
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!dir_) GTEST_SKIP() << "the game-flow data was not built at " << kData;
        ASSERT_EQ(exitCode_, 1);
    }
    static fs::path Dump(int frame) { return *dir_ / ("f" + std::to_string(frame) + ".json"); }
    static fs::path Shot(int frame) { return *dir_ / ("f" + std::to_string(frame) + ".png"); }
    static json State(int frame) { return ReadJson(Dump(frame)); }

    static fs::path* dir_;
    static int exitCode_;
};

fs::path* GameFlowRun::dir_ = nullptr;
int GameFlowRun::exitCode_ = -1;

}  // namespace

TEST_F(GameFlowRun, OpeningLineWaitsForTheConfirmKey) {
    const json a = State(kOpeningShown);
    EXPECT_EQ(a["g_FrameProc"], "FieldFrame");
    EXPECT_EQ(a["g_FadeAlpha"], 0);
    EXPECT_EQ(a["g_FieldInputEnabled"], 1);
    EXPECT_EQ(a["g_TalkWindows"][0]["text"], "Welcome to the test field.\\e");
    EXPECT_EQ(a["g_TalkWindows"][0]["open"], 65535);
    EXPECT_EQ(a["GameState"]["scriptRunning"], 0);
    // Character 1 was loaded for the field by the opening.
    ASSERT_EQ(a["g_Characters"].size(), 2u);
    EXPECT_EQ(a["g_Characters"][1]["fileName"], "mina");

    const json b = State(kOpeningDone);
    EXPECT_EQ(b["g_TalkWindows"][0]["open"], 0);
    EXPECT_LT(b["g_ActionTimer"].get<int>(), 80);  // held back after the conversation
    for (int f : {kOpeningShown, kBackOnField}) EXPECT_TRUE(State(f)["messageBoxes"].empty());
}

TEST_F(GameFlowRun, ConversationWithAChoiceList) {
    const json open = State(kListOpen);
    const json& list = open["GameState"]["messageWindow"];
    EXPECT_EQ(open["GameState"]["messageOpen"], 1);
    ASSERT_EQ(list["entries"].size(), 2u);
    EXPECT_EQ(list["entries"][0]["text"], "Yes");
    EXPECT_EQ(list["entries"][1]["value"], 1);
    EXPECT_EQ(list["cursor"], 0);
    const json& window = open["g_TalkWindows"][0];
    EXPECT_EQ(window["text"], "Shall we go on?\\e");
    // Below the first window, 16 pixels in, sized for its entries.
    EXPECT_EQ(list["x"], window["x"].get<int>() + 16);
    EXPECT_EQ(list["y"], window["y"].get<int>() + window["h"].get<int>());
    EXPECT_EQ(list["w"], 9 * 3 + 8);
    EXPECT_EQ(list["h"], 20 * 2 + 4);

    EXPECT_EQ(State(kCursorMoved)["GameState"]["messageWindow"]["cursor"], 1);

    const json answered = State(kAnswered);
    EXPECT_EQ(answered["GameState"]["messageOpen"], 0);
    EXPECT_EQ(answered["GameState"]["fieldScript"]["iv"][0], 1);  // f8 4 read the cursor
    EXPECT_EQ(answered["g_TalkWindows"][0]["text"],
              "Another time then; the road will wait for us until the morning comes.\\e");
}

TEST_F(GameFlowRun, TalkWindowAndListAreDrawnOverTheField) {
    const Picture shot = LoadPicture(Shot(kListOpen));
    const Picture quiet = LoadPicture(Shot(kQuiet));
    ASSERT_EQ(shot.w, 640);
    ASSERT_EQ(quiet.w, 640);
    const json state = State(kListOpen);
    const json& t = state["g_TalkWindows"][0];
    const json& l = state["GameState"]["messageWindow"];

    // The window box: translucent blue at the top-left and bottom-right corners, a denser,
    // darker blue at the other two (two triangles split along that diagonal); the text covers
    // part of it.
    const Colour light = Unpack(0xA00000A0), dense = Unpack(0xC0000040);
    EXPECT_GT(BlendedShare(shot, quiet, t["x"], t["y"], t["w"], t["h"],
                           [&](double u, double v) { return Mix(light, dense, std::fabs(u - v)); }),
              0.6);
    // The list box's lower half (its second entry): green fading to yellow downward.
    const int lx = l["x"], ly = l["y"], lw = l["w"], lh = l["h"];
    const Colour top = Unpack(0xC000D200), bottom = Unpack(0x80DCDC00);
    EXPECT_GT(BlendedShare(shot, quiet, lx + 20, ly + 25, lw - 22, lh - 27,
                           [&](double, double v) {
                               return Mix(top, bottom, (25 + v * (lh - 27)) / double(lh));
                           }),
              0.6);
    // Where nothing is drawn over the field the two pictures agree.
    int same = 0;
    for (int y = 440; y < 470; ++y)
        for (int x = 600; x < 630; ++x)
            same += Near(shot.At(x, y), quiet.At(x, y)[0], quiet.At(x, y)[1], quiet.At(x, y)[2]);
    EXPECT_GT(same, 30 * 30 * 9 / 10);
}

TEST_F(GameFlowRun, PlaceTriggerMovesTheCameraAndChangesTheScript) {
    const json fired = State(kPlaceFired);
    EXPECT_EQ(fired["camera"]["handler"], "CameraMoveOrbit");
    ASSERT_EQ(fired["camera"]["keys"].size(), 1u);
    EXPECT_EQ(fired["camera"]["keys"][0]["frames"], 20);
    EXPECT_EQ(fired["g_EnemySet"], json({2, -1, 1, -1, -1}));
    EXPECT_LT(fired["character0"]["position"][2].get<double>(), -13000.0);  // walked up to it

    const json done = State(kPathDone);
    EXPECT_EQ(done["camera"]["handler"], "NullFrameHook");
    EXPECT_NEAR(done["camera"]["angle"].get<double>(), 90 * 0.0174533, 1e-3);
    EXPECT_NEAR(done["camera"]["distance"].get<double>(), 2500.0, 0.5);
    EXPECT_NEAR(done["camera"]["eye"][1].get<double>(), 1500.0, 0.5);

    const json fading = State(kFading);
    EXPECT_GT(fading["GameState"]["fieldScript"]["aux"].get<int>(), 0);
    EXPECT_EQ(fading["g_FieldInputEnabled"], 0);
    EXPECT_EQ(fading["g_FieldScriptName"], "test");
}

TEST_F(GameFlowRun, NewScriptLoadsAnotherField) {
    const json s = State(kNewScript);
    EXPECT_EQ(s["g_FieldScriptName"], "second");
    EXPECT_EQ(s["g_FieldName"], "meadow2");
    EXPECT_EQ(s["GameState"]["fieldScript"]["aux"], 0);
    EXPECT_EQ(s["g_FieldInputEnabled"], 1);
    EXPECT_EQ(s["g_TalkWindows"][0]["text"], "A new field.\\e");
    EXPECT_TRUE(s["messageBoxes"].empty());
}

TEST_F(GameFlowRun, MenuScreenOpensAndCloses) {
    const json menu = State(kMenuScreen);
    EXPECT_EQ(menu["g_FrameProc"], "MenuScreenFrame");
    EXPECT_EQ(menu["g_FadeAlpha"], 0);
    EXPECT_EQ(menu["GameState"]["messageWindow"]["entries"].size(), 7u);
    EXPECT_EQ(menu["MenuEntries"]["count"], 7);

    const Picture shot = LoadPicture(Shot(kMenuScreen));
    ASSERT_EQ(shot.w, 640);
    // The opaque background: grey at the top-left and bottom-right corners, purple at the other
    // two (the bottom ones are free of anything drawn over them).
    EXPECT_TRUE(Near(shot.At(1, 478), 160, 0, 160));
    EXPECT_TRUE(Near(shot.At(638, 478), 200, 200, 200));
    // The first menu entry's box, under the cursor: a dense blue-purple.
    const uint8_t* box = shot.At(630, 66);
    EXPECT_GT(box[2], 150);
    EXPECT_LT(box[1], 60);

    const json back = State(kBackOnField);
    EXPECT_EQ(back["g_FrameProc"], "FieldFrame");
    EXPECT_EQ(back["g_FadeAlpha"], 0);
    EXPECT_EQ(back["g_FieldInputEnabled"], 1);
}
