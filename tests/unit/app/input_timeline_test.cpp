#include <gtest/gtest.h>

#include <string>

#include "app/input_timeline.h"
#include "base/host.h"

TEST(InputTimeline, ARecordingReadsBackWhatWasWritten) {
    InputTimeline t;
    std::string error;
    ASSERT_TRUE(
        ParseInputTimeline("# recorded\nSeed 7\nclock 5000\nask-before-quit\n"
                           "0 frame-ms 16\n\n3 escape down\n3 escape up\n2 UP down # walk\n"
                           "3 answer yes\n9 close\n10 frame-ms 0 1 2\nframes 13\n",
                           t, error))
        << error;
    EXPECT_EQ(t.seed, 7u);
    EXPECT_EQ(t.clockStart, 5000u);
    EXPECT_EQ(t.frames, 13u);
    EXPECT_TRUE(t.askBeforeQuitting);
    EXPECT_EQ(t.frameMs, (std::map<uint64_t, uint32_t>{{0, 16}, {10, 0}, {11, 1}, {12, 2}}));
    EXPECT_EQ(t.answers, std::vector<int>{IDYES});
    // In frame order, and in the order written within a frame.
    std::string lines;
    for (const KeyEvent& e : t.events) lines += FormatKeyEvent(e) + ";";
    EXPECT_EQ(lines, "2 up down;3 escape down;3 escape up;9 close;");
}

TEST(InputTimeline, AMalformedLineIsNamedWithWhatWasWrong) {
    const std::pair<const char*, const char*> bad[] = {
        {"1 jump down", "line 1: unknown key \"jump\""},
        {"\n1 up sideways", "line 2: expected down or up, not \"sideways\""},
        {"1 up down now", "line 1: expected \"<frame> <key> <down|up>\""},
        {"1 frame-ms 17 -3", "line 1: frame-ms \"-3\" is not a number of milliseconds"},
        {"1 answer maybe", "line 1: expected an answer yes or no, not \"maybe\""},
        {"1 close now", "line 1: expected"},
        {"seed x", "line 1: seed wants a number up to 4294967295, not \"x\""},
        {"frames 0", "line 1: frames wants a number"},
        {"jump", "line 1: expected"},
        {"99999999999999999999 up down", "line 1: frame \"99999999999999999999\" is not a frame"},
    };
    for (auto [text, message] : bad) {
        SCOPED_TRACE(text);
        InputTimeline t;
        std::string error;
        EXPECT_FALSE(ParseInputTimeline(text, t, error));
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}
