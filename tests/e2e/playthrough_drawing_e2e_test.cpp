// A headless run draws only the frames it takes pictures of. The frames in between still run
// their logic, set the device's state and upload textures, so a picture must come out exactly as
// in a run that draws every frame.
#include <gtest/gtest.h>

#include <string>

#include "e2e_run.h"
#include "picture.h"

namespace {

TEST(PlaythroughDrawing, PicturesAfterSkippedFramesMatchAFullyDrawnRun) {
    SKIP_WITHOUT_DEMO_DATA();
    // The camera's fly-in over the village with the first line typing out: models, the ground,
    // text and textures uploaded over many frames before the picture.
    const std::string keys = ReadFileBytes(GH02_SOURCE_DIR "/tests/playthrough/adventure.keys");
    DemoRun skipping("playthrough_skipped", keys, 191), drawing("playthrough_drawn", keys, 191);
    skipping.ShotAt({130, 190});
    drawing.ShotAt({190});
    drawing.With("--draw-every-frame");
    ASSERT_EQ(skipping.Run(), 0);
    ASSERT_EQ(drawing.Run(), 0);

    const Picture skipped = LoadPicture(skipping.Shot(190)), drawn = LoadPicture(drawing.Shot(190));
    ASSERT_GT(skipped.w, 0);
    EXPECT_EQ(std::pair(skipped.w, skipped.h), std::pair(drawn.w, drawn.h));
    EXPECT_TRUE(skipped.rgb == drawn.rgb) << "channels differ between the two runs";
    // The picture is not a blank frame: the skipped run drew it in full.
    size_t lit = 0;
    for (size_t i = 0; i < skipped.rgb.size(); i += 3)
        lit += skipped.rgb[i] + skipped.rgb[i + 1] > 32;
    EXPECT_GT(lit, skipped.rgb.size() / 6);
}

}  // namespace
