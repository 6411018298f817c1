// Runs the built game on the demo data beside it: New game on its title starts the game on the
// field (at frame 10), the field is drawn, and the arrow keys walk the leader.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "e2e_support.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class GameStartRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(GH02_BINARY).parent_path() / "Datas"))
            GTEST_SKIP() << "the demo data was not built beside the game";
        dir = MakeTempDir("e2e_start");
        fs::create_directories(dir / "saves");  // empty: the title's cursor is on New game
    }
    // A headless run on the demo data that chooses New game on the title at frame 9, with
    // more keys after it.
    std::string Run(int frames, const std::string& keys, const std::string& more) {
        std::ofstream(dir / "keys.txt") << "9 shift down\n10 shift up\n" << keys;
        return "--headless --seed 7 --frames " + std::to_string(frames) + " --save-dir " +
               (dir / "saves").string() + " --input " + (dir / "keys.txt").string() + more;
    }
    void TearDown() override {
        if (!dir.empty()) fs::remove_all(dir);
    }
    fs::path dir;
};

void ExpectOnlyPropBoxes(const nlohmann::json& j) {
    for (const auto& box : j["messageBoxes"]) {
        const std::string text = box["text"];
        EXPECT_EQ(text, "辺データを読込みますか？") << box.dump();
    }
}

}  // namespace

TEST_F(GameStartRun, SixtyFramesOnTheFirstFieldDrawSomething) {
    fs::path png = dir / "shot.png";
    fs::path dump = dir / "f69.json";
    EXPECT_EQ(
        RunGh02(
            Run(70, "", " --screenshot 69:" + png.string() + " --dump-state 69:" + dump.string())),
        1);
    ASSERT_TRUE(fs::exists(dump));
    auto j = ReadJson(dump);
    EXPECT_EQ(j["g_FrameProc"], "FieldFrame");
    EXPECT_EQ(j["g_FieldName"], "baske0");
    EXPECT_EQ(j["gameState"], true);
    EXPECT_EQ(j["g_FadeAlpha"], 0);
    // The demo's opening runs its field commands without a complaint; the only boxes are the
    // bones that the props in foreign formats (no skeleton) lack.
    ExpectOnlyPropBoxes(j);
    EXPECT_EQ(j["GameState"]["fieldScript"]["running"], 1);  // the camera flies over the village
    EXPECT_NE(j["camera"]["handler"], "NullFrameHook");
    EXPECT_EQ(j["character0"]["position"][0], 16384.0);

    int w = 0, h = 0, comp = 0;
    unsigned char* pixels = stbi_load(png.c_str(), &w, &h, &comp, 3);
    ASSERT_NE(pixels, nullptr);
    ASSERT_EQ(w * h, 640 * 480);
    long lit = 0;
    for (long i = 0; i < long(w) * h; ++i)
        if (pixels[3 * i] > 8 || pixels[3 * i + 1] > 8 || pixels[3 * i + 2] > 8) ++lit;
    stbi_image_free(pixels);
    // Ground, sky and the characters cover most of the picture.
    EXPECT_GT(lit, 640L * 480 / 2);
}

TEST_F(GameStartRun, AfterTheOpeningHoldingUpWalksTheLeader) {
    // Shift confirms the opening's three lines one by one; then Up walks.
    fs::path still = dir / "f429.json";
    fs::path walked = dir / "f489.json";
    EXPECT_EQ(RunGh02(Run(
                  490,
                  "200 shift down\n203 shift up\n370 shift down\n373 shift up\n"
                  "400 shift down\n403 shift up\n430 up down\n480 up up\n",
                  " --dump-state 429:" + still.string() + " --dump-state 489:" + walked.string())),
              1);
    auto a = ReadJson(still);
    auto b = ReadJson(walked);
    EXPECT_EQ(a["g_FieldInputEnabled"], 1);
    EXPECT_EQ(a["g_TalkWindows"][0]["open"], 0);
    EXPECT_EQ(a["GameState"]["fieldScript"]["running"], 0);
    EXPECT_NE(a["character0"]["position"], b["character0"]["position"]);
    ExpectOnlyPropBoxes(b);
}
