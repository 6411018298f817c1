// A headless run draws only the frames it takes pictures of. The frames in between still run
// their logic, set the device's state and upload textures, so a picture must come out exactly as
// in a run that draws every frame.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> Pixels(const fs::path& p, int& w, int& h) {
    int comp = 0;
    unsigned char* px = stbi_load(p.c_str(), &w, &h, &comp, 4);
    if (!px) return {};
    std::vector<unsigned char> out(px, px + size_t(w) * h * 4);
    stbi_image_free(px);
    return out;
}

TEST(PlaythroughDrawing, PicturesAfterSkippedFramesMatchAFullyDrawnRun) {
    if (!fs::exists(fs::path(GH02_BINARY).parent_path() / "SCR" / "test.qd"))
        GTEST_SKIP() << "the demo data was not built beside the game";
    const fs::path dir = MakeTempDir("playthrough_drawing");
    const fs::path keys = fs::path(GH02_SOURCE_DIR) / "tests" / "playthrough" / "adventure.keys";
    // The camera's fly-in over the village with the first line typing out: models, the ground,
    // text and textures uploaded over many frames before the picture.
    fs::create_directories(dir / "saves");
    const std::string run = "--headless --seed 7 --frames 191 --save-dir " +
                            (dir / "saves").string() + " --input " + keys.string();
    const std::string shots = " --screenshot 130:" + (dir / "early.png").string();
    ASSERT_EQ(RunGh02(run + shots + " --screenshot 190:" + (dir / "skipped.png").string()), 0);
    ASSERT_EQ(RunGh02(run + " --draw-every-frame --screenshot 190:" + (dir / "drawn.png").string()),
              0);

    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const std::vector<unsigned char> skipped = Pixels(dir / "skipped.png", w1, h1);
    const std::vector<unsigned char> drawn = Pixels(dir / "drawn.png", w2, h2);
    ASSERT_FALSE(skipped.empty());
    ASSERT_EQ(w1, w2);
    ASSERT_EQ(h1, h2);
    size_t differing = 0;
    for (size_t i = 0; i < skipped.size(); ++i) differing += skipped[i] != drawn[i];
    EXPECT_EQ(differing, 0u) << "channels differ between the two runs";
    // The picture is not a blank frame: the skipped run drew it in full.
    size_t lit = 0;
    for (size_t i = 0; i < skipped.size(); i += 4) lit += skipped[i] + skipped[i + 1] > 32;
    EXPECT_GT(lit, skipped.size() / 8);
    fs::remove_all(dir);
}

}  // namespace
