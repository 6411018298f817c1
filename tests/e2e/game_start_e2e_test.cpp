// Runs the built game on the demo data beside it: the first frame starts a new game on the
// field, the field is drawn, and the arrow keys walk the leader.
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
    }
    void TearDown() override {
        if (!dir.empty()) fs::remove_all(dir);
    }
    fs::path dir;
};

}  // namespace

TEST_F(GameStartRun, SixtyFramesOnTheFirstFieldDrawSomething) {
    fs::path png = dir / "shot.png";
    fs::path dump = dir / "f59.json";
    EXPECT_EQ(RunGh02("--headless --frames 60 --seed 7 --screenshot 59:" + png.string() +
                      " --dump-state 59:" + dump.string()),
              1);
    ASSERT_TRUE(fs::exists(dump));
    auto j = ReadJson(dump);
    EXPECT_EQ(j["g_FrameProc"], "FieldFrame");
    EXPECT_EQ(j["g_FieldName"], "baske0");
    EXPECT_EQ(j["gameState"], true);
    EXPECT_EQ(j["g_FadeAlpha"], 0);
    // The demo's opening runs its field commands without a single complaint.
    EXPECT_TRUE(j["messageBoxes"].empty()) << j["messageBoxes"].dump();
    EXPECT_EQ(j["GameState"]["fieldScript"]["running"], 0);  // its first line waits for Shift
    EXPECT_EQ(j["g_TalkWindows"][0]["open"], 65535);
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
    // Shift confirms the opening's lines one by one; then Up walks.
    std::ofstream(dir / "keys.txt") << "30 shift down\n32 shift up\n50 shift down\n52 shift up\n"
                                       "70 shift down\n72 shift up\n90 shift down\n92 shift up\n"
                                       "120 up down\n170 up up\n";
    fs::path still = dir / "f119.json";
    fs::path walked = dir / "f179.json";
    EXPECT_EQ(
        RunGh02("--headless --frames 180 --seed 7 --input " + (dir / "keys.txt").string() +
                " --dump-state 119:" + still.string() + " --dump-state 179:" + walked.string()),
        1);
    auto a = ReadJson(still);
    auto b = ReadJson(walked);
    EXPECT_EQ(a["g_FieldInputEnabled"], 1);
    EXPECT_EQ(a["g_TalkWindows"][0]["open"], 0);
    EXPECT_EQ(a["GameState"]["fieldScript"]["running"], 0);
    EXPECT_NE(a["character0"]["position"], b["character0"]["position"]);
    EXPECT_TRUE(b["messageBoxes"].empty()) << b["messageBoxes"].dump();
}
