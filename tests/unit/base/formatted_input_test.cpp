#include "base/formatted_input.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>

TEST(FormattedInput, NamesRunToWhitespaceSoATrailingCommaStaysInTheName) {
    FormattedInput in("sky0_, grass\r\n  stone,\n");
    std::string a, b, c;
    EXPECT_EQ(in.Scan("%s,", &a), 1);  // the ',' of the format finds a blank: the call ends
    EXPECT_EQ(in.Scan("%s\n", &b), 1);
    EXPECT_EQ(in.Scan("%s\n", &c), 1);
    EXPECT_EQ(std::tuple(a, b, c), std::tuple("sky0_,", "grass", "stone,"));
    EXPECT_EQ(in.Scan("%s\n", &a), -1);
    EXPECT_EQ(a, "sky0_,");
}

TEST(FormattedInput, AMissingLiteralEndsTheCallButNotTheNextOne) {
    FormattedInput in("1 2,3,4;5,");
    int32_t a = 0, b = 0, c = -1;
    EXPECT_EQ(in.Scan("%d,%d,", &a, &b), 1);  // "1 " has no comma: b is not read
    EXPECT_EQ(std::tuple(a, b), std::tuple(1, 0));
    EXPECT_EQ(in.Scan("%d,%d,", &a, &b), 2);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(in.Scan("%d,", &a), 1);  // "4;" stores 4, the ';' stays
    EXPECT_EQ(in.Scan("%d,", &c), 0);  // and then nothing reads
    EXPECT_EQ(c, -1);
}

TEST(FormattedInput, IntegersWrapFloatsStayFiniteAndBothNeedADigit) {
    FormattedInput ints("+7, -0, 4294967297, -2147483649, -, x");
    for (int32_t expect : {7, 0, 1, 2147483647}) {
        int32_t v = 0;
        EXPECT_EQ(ints.Scan("%d,", &v), 1);
        EXPECT_EQ(v, expect);
    }
    int32_t keep = 99;
    EXPECT_EQ(ints.Scan("%d,", &keep), 0);
    EXPECT_EQ(keep, 99);

    // An exponent without digits is dropped; out of range goes to the largest or to zero.
    FormattedInput floats("-1.5, .25, 3., 2e3, 1e, 1e999, -1e999, 1e-999, 00000.0000001e7, inf,");
    for (float expect : {-1.5f, 0.25f, 3.0f, 2000.0f, 1.0f, FLT_MAX, -FLT_MAX, 0.0f, 1.0f}) {
        float f = -99;
        EXPECT_EQ(floats.Scan("%f,", &f), 1);
        EXPECT_FLOAT_EQ(f, expect);
    }
    float keepF = 5.0f;
    EXPECT_EQ(floats.Scan("%f,", &keepF), 0);
    EXPECT_EQ(keepF, 5.0f);
}

TEST(FormattedInput, StepReadsTakeNumbersAsStrtolAndStrtofDo) {
    // As the model importers read: literals with blanks, words, strtol and strtof numbers.
    const std::string digits(70, '1');
    const std::string text = "Mat V0.5 Id 12 <-3,4>\n  inf 0x10 1e999 " + digits + "\nlast";
    FormattedInput in(text);
    std::string word;
    long major = 0, minor = -1, id = 0, a = 0, b = 0;
    EXPECT_TRUE(in.Word(word) && in.Match(" V") && in.Long(major) && in.Match(".") &&
                in.Long(minor) && in.Match(" Id") && in.Long(id) && in.Match(" <") && in.Long(a) &&
                in.Match(",") && in.Long(b) && in.Match(">"));
    EXPECT_EQ(std::tuple(word, major, minor, id, a, b), std::tuple("Mat", 0, 5, 12, -3, 4));
    float inf = 0, hex = 0, huge = 0;
    EXPECT_TRUE(in.Float(inf) && in.Float(hex) && in.Float(huge));
    EXPECT_EQ(std::tuple(inf, hex, huge), std::tuple(HUGE_VALF, 16.0f, HUGE_VALF));
    // A number is cut after 63 characters; the rest is read next.
    long cut = 0, rest = 0;
    EXPECT_TRUE(in.Long(cut) && in.Long(rest));
    EXPECT_EQ(std::tuple(cut, rest), std::tuple(LONG_MAX, 1111111));
    EXPECT_FALSE(in.Match(" x"));
    const size_t at = in.Position();
    EXPECT_FALSE(in.Long(a));
    EXPECT_EQ(in.Position(), at);
    EXPECT_EQ(in.RestOfLine(), "last");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(in.Word(word));
    in.SetPosition(999);
    EXPECT_TRUE(in.AtEnd());
}
