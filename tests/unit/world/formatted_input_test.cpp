#include "world/formatted_input.h"

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

TEST(FormattedInput, IntegersWrapAndNeedADigit) {
    FormattedInput in("+7, -0, 4294967297, -2147483649, -, x");
    int32_t v[4] = {};
    for (int32_t& x : v) EXPECT_EQ(in.Scan("%d,", &x), 1);
    EXPECT_EQ(v[0], 7);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[3], 2147483647);
    int32_t keep = 99;
    EXPECT_EQ(in.Scan("%d,", &keep), 0);
    EXPECT_EQ(keep, 99);
}

TEST(FormattedInput, FloatsTakePointAndExponentAndStayFinite) {
    FormattedInput in("-1.5, .25, 3., 2e3, 1e, 1e999, -1e999, 1e-999, 00000.0000001e7, inf,");
    float f[9] = {};
    for (float& x : f) EXPECT_EQ(in.Scan("%f,", &x), 1);
    EXPECT_EQ(f[0], -1.5f);
    EXPECT_EQ(f[1], 0.25f);
    EXPECT_EQ(f[2], 3.0f);
    EXPECT_EQ(f[3], 2000.0f);
    EXPECT_EQ(f[4], 1.0f);  // an exponent without digits is dropped
    EXPECT_EQ(f[5], FLT_MAX);
    EXPECT_EQ(f[6], -FLT_MAX);
    EXPECT_EQ(f[7], 0.0f);
    EXPECT_FLOAT_EQ(f[8], 1.0f);
    float keep = 5.0f;
    EXPECT_EQ(in.Scan("%f,", &keep), 0);
    EXPECT_EQ(keep, 5.0f);
}
