// A headless run draws only the frames it takes pictures of. The frames in between still run
// their logic, set the device's state and upload textures, so a picture must come out exactly as
// in a run that draws every frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e_support.h"
#include "picture.h"

namespace fs = std::filesystem;

namespace {

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

    const Picture skipped = LoadPicture(dir / "skipped.png"),
                  drawn = LoadPicture(dir / "drawn.png");
    ASSERT_GT(skipped.w, 0);
    EXPECT_EQ(std::pair(skipped.w, skipped.h), std::pair(drawn.w, drawn.h));
    EXPECT_TRUE(skipped.rgb == drawn.rgb) << "channels differ between the two runs";
    // The picture is not a blank frame: the skipped run drew it in full.
    size_t lit = 0;
    for (size_t i = 0; i < skipped.rgb.size(); i += 3)
        lit += skipped.rgb[i] + skipped.rgb[i + 1] > 32;
    EXPECT_GT(lit, skipped.rgb.size() / 6);
    fs::remove_all(dir);
}

}  // namespace
