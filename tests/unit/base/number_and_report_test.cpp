// ParseInt reads as strtol does (the fuzz target compares the two on any bytes); here the cases
// the engine's callers lean on. And the report-once sets.
#include <gtest/gtest.h>

#include "base/parse_int.h"
#include "base/report_once.h"

TEST(ParseInt, SignBlanksRangeAndWholeWords) {
    const struct {
        const char* text;
        int64_t value;
        size_t used;
        bool outOfRange, whole;
    } cases[] = {
        {"42", 42, 2, false, true},
        {" \t\n-7,", -7, 5, false, false},
        {"+5", 5, 2, false, false},  // a whole word takes no '+'
        {"-0", 0, 2, false, true},
        {"12ab", 12, 2, false, false},
        {"", 0, 0, false, false},
        {" - 3", 0, 0, false, false},
        {"x1", 0, 0, false, false},
        {"9223372036854775807", INT64_MAX, 19, false, true},
        {"9223372036854775808", INT64_MAX, 19, true, false},
        {"-9223372036854775808", INT64_MIN, 20, false, true},
        {"-99999999999999999999999", INT64_MIN, 24, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ParsedInt r = ParseInt(c.text);
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(r.used, c.used);
        EXPECT_EQ(r.outOfRange, c.outOfRange);
        int64_t whole = -1;
        EXPECT_EQ(ParseWholeInt(c.text, whole), c.whole);
        EXPECT_EQ(whole, c.whole ? c.value : -1);
    }
    // Never past the text: the digits after the view's end are not read.
    EXPECT_EQ(ParseInt(std::string_view("1234", 2)).value, 12);
}

TEST(ReportOnce, EachKeyOnceUpToTheLimitUntilReset) {
    ReportOnce paths(2), music;
    EXPECT_TRUE(paths.First("a"));
    EXPECT_FALSE(paths.First("a"));
    EXPECT_TRUE(paths.First("b"));
    EXPECT_FALSE(paths.First("c"));  // full: nothing new is said
    EXPECT_TRUE(music.First("a"));   // sets are apart
    paths.Reset();
    EXPECT_TRUE(paths.First("c"));
    EXPECT_FALSE(music.First("a"));
    ResetReportedOnce();
    EXPECT_TRUE(paths.First("c"));
    EXPECT_TRUE(music.First("a"));
    {
        ReportOnce gone;  // a set that ends leaves the others' reset working
        EXPECT_TRUE(gone.First("x"));
    }
    ResetReportedOnce();
    EXPECT_TRUE(music.First("a"));
}
