// Where the first window goes on displays of several sizes, and the swap interval for a refresh.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/window_rules.h"

namespace {

TEST(PlaceWindow, TheLargestPictureThatFitsWithItsFrameCentredOnScreen) {
    const WindowFrame frame{30, 2, 2, 2};
    const struct {
        ScreenRect usable;
        bool integer;
        int rememberedW, rememberedH;
        ScreenRect expected;
    } cases[] = {
        // A 1366 x 768 laptop with a 40-pixel panel: 960 rows do not fit, 480 do.
        {{0, 0, 1366, 728}, true, 0, 0, {363, 138, 640, 480}},
        {{0, 0, 1920, 1040}, true, 0, 0, {320, 54, 1280, 960}},
        {{0, 0, 1920, 1080}, true, 0, 0, {320, 74, 1280, 960}},
        {{0, 0, 3840, 2160}, true, 0, 0, {640, 134, 2560, 1920}},
        // Fit mode fills the height (or the width) at 4:3.
        {{0, 0, 1366, 728}, false, 0, 0, {219, 30, 928, 696}},
        {{0, 0, 1000, 2000}, false, 0, 0, {2, 640, 996, 747}},
        // Too small for 640 x 480: the largest 4:3 area.
        {{0, 0, 600, 400}, true, 0, 0, {55, 30, 490, 368}},
        // A second display to the right, and a panel at its top.
        {{1920, 24, 1920, 1056}, true, 0, 0, {2240, 86, 1280, 960}},
        // A size remembered from the last time stays when it fits, and gives way when not.
        {{0, 0, 1920, 1040}, true, 800, 600, {560, 234, 800, 600}},
        {{0, 0, 1366, 728}, true, 1280, 960, {363, 138, 640, 480}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.usable.w << " x " << c.usable.h << (c.integer ? " integer" : " fit"));
        const ScreenRect r = PlaceWindow(c.usable, frame, c.integer, c.rememberedW, c.rememberedH);
        EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h),
                  std::tuple(c.expected.x, c.expected.y, c.expected.w, c.expected.h));
        // Frame and all, the window is on the display.
        EXPECT_GE(r.x - frame.left, c.usable.x);
        EXPECT_GE(r.y - frame.top, c.usable.y);
        EXPECT_LE(r.x + r.w + frame.right, c.usable.x + c.usable.w);
        EXPECT_LE(r.y + r.h + frame.bottom, c.usable.y + c.usable.h);
    }
}

TEST(SwapIntervalFor, KeepsAboutSixtyFramesASecond) {
    const std::pair<int, int> cases[] = {{0, 1},   {50, 1},  {60, 1},  {75, 1}, {90, 1},
                                         {120, 2}, {144, 2}, {165, 3}, {240, 4}};
    for (auto [hz, interval] : cases) EXPECT_EQ(SwapIntervalFor(hz), interval) << hz;
}

}  // namespace
