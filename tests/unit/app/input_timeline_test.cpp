#include <gtest/gtest.h>

#include <string>

#include "app/input_timeline.h"

TEST(InputTimeline, ParsesEventsAndNamesTheBadLine) {
    InputTimeline t;
    std::string error;
    ASSERT_TRUE(
        ParseInputTimeline("# test\n5 Shift down\n\n2 up down # walk\n6 shift up\n", t, error))
        << error;
    ASSERT_EQ(t.events.size(), 3u);
    EXPECT_EQ(t.events[0].frame, 2u);  // sorted by frame
    EXPECT_EQ(t.events[0].virtualKey, 0x26);
    EXPECT_TRUE(t.events[1].down);
    EXPECT_EQ(FormatKeyEvent(t.events[2]), "6 shift up");
    EXPECT_FALSE(ParseInputTimeline("1 shift down\n2 jump down\n", t, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(ParseInputTimeline("x shift down\n", t, error));
    EXPECT_FALSE(ParseInputTimeline("1 shift sideways\n", t, error));
    EXPECT_FALSE(ParseInputTimeline("99999999999999999999 shift down\n", t, error));
}
