#include "base/formatted_input.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

TEST(FormattedInput, NamesRunToWhitespaceSoATrailingCommaStaysInTheName) {
    FormattedInput in("sky0_, grass\r\n  stone,\n");
    std::string a, b, c;
    EXPECT_EQ(in.Scan("%s,", &a), 1);  // the ',' of the format finds a blank: the call ends
    EXPECT_EQ(in.Scan("%s\n", &b), 1);
    EXPECT_EQ(in.Scan("%s\n", &c), 1);
    EXPECT_EQ(a, "sky0_,");
    EXPECT_EQ(b, "grass");
    EXPECT_EQ(c, "stone,");
    EXPECT_EQ(in.Scan("%s\n", &a), -1);
    EXPECT_EQ(a, "sky0_,");
}

TEST(FormattedInput, AMissingLiteralEndsTheCallButNotTheNextOne) {
    FormattedInput in("1 2,3,4;5,");
    int32_t a = 0, b = 0, c = -1;
    EXPECT_EQ(in.Scan("%d,%d,", &a, &b), 1);  // "1 " has no comma: b is not read
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
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
