#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>

#include "base/sjis.h"
#include "script_test_util.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ScriptReaders = ScriptTest;

TEST_F(ScriptReaders, IntegersConvertLikeTheRuntimeLibrary) {
    SetText(s, "12,-7, +3,abc,0012x9,,99999999999,-99999999999,");
    EXPECT_EQ(s.gInt(), 12);
    EXPECT_EQ(s.gInt(), -7);
    EXPECT_EQ(s.gInt(), 3);   // leading blank skipped
    EXPECT_EQ(s.gInt(), 0);   // no digits
    EXPECT_EQ(s.gInt(), 12);  // stops at the first non-digit
    EXPECT_EQ(s.gInt(), 0);   // an empty argument
    EXPECT_EQ(s.gInt(), INT_MAX);
    EXPECT_EQ(s.gInt(), INT_MIN);
    EXPECT_EQ(s.pc, 47);
    EXPECT_THAT(BoxTexts(), IsEmpty());
}

TEST_F(ScriptReaders, NumberWithoutCommaIsCutAfterSeventeenCharacters) {
    // Sixteen characters and a comma are fine; the seventeenth copied one is reported and the
    // character behind it is passed over.
    SetText(s, "1234567890123456,AAAAAAAAAAAAAAAAAXY,7,");
    EXPECT_EQ(s.gInt(), INT_MAX);
    EXPECT_THAT(BoxTexts(), IsEmpty());
    EXPECT_EQ(s.gInt(), 0);
    EXPECT_EQ(s.pc, 17 + 18);  // behind the 'X'
    EXPECT_THAT(BoxTexts(), ElementsAre("gInt:ん？"));
    EXPECT_EQ(s.gInt(), 0);  // "Y,"
    EXPECT_EQ(s.gInt(), 7);

    g_MessageBoxLog.clear();
    SetText(s, "2.500000000000000000,1,");
    EXPECT_DOUBLE_EQ(s.gFloat(), 2.5);
    EXPECT_THAT(BoxTexts(), ElementsAre("gFloat:ん？"));
}

TEST_F(ScriptReaders, FloatsTakeSignPointAndExponentAndStayFinite) {
    SetText(s, "12.5,-0.25,1e3,.5,-.5,+2,abc,1e999,-1e999,1e-999,inf,nan,0x10,1.5e,");
    const double expected[] = {12.5,    -0.25,    1000, 0.5, -0.5, 2, 0,
                               FLT_MAX, -FLT_MAX, 0,    0,   0,    0, 1.5};
    for (double e : expected) EXPECT_DOUBLE_EQ(s.gFloat(), e) << "at pc " << s.pc;
    EXPECT_THAT(BoxTexts(), IsEmpty());
}

TEST_F(ScriptReaders, StringsEndAtDoubleSlashAndKeepShiftJisBytes) {
    // "ソ" and "表" end in 0x5C, the backslash: bytes pass unchanged.
    std::string sjis = ToSjis("ソ表示");
    ASSERT_EQ(sjis.substr(0, 2), "\x83\x5C");
    SetText(s, "door//a/b///" + sjis + "//");
    s.gStr(s.str);
    EXPECT_STREQ(s.str, "door");
    s.gStr(s.str);
    EXPECT_STREQ(s.str, "a/b");
    s.gStr(s.str);
    EXPECT_EQ(std::string(s.str), "/" + sjis);  // the third slash belongs to the next string
    EXPECT_EQ(s.text[s.pc], '\0');
}

TEST_F(ScriptReaders, LongStringIsCutToItsBufferOnACharacterBoundary) {
    // 254 ASCII bytes then a double-byte character: the whole character does not fit in 255.
    std::string body(254, 'x');
    body += ToSjis("表");
    body += "tail";
    SetText(s, body + "//12,");
    s.gStr(s.str);
    EXPECT_EQ(std::string(s.str), std::string(254, 'x'));
    EXPECT_EQ(s.gInt(), 12);  // the reader still ends behind the "//"

    char small[4];
    SetText(s, "abcdef//");
    s.gStr(small);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(s.pc, 8);
}

// Reads from any place of any text stay inside it (the script-reader fuzz target); a read that
// meets the end says so once.
TEST_F(ScriptReaders, ReadsStopAtTheEndOfTheText) {
    // A text with no NUL, no ',' and no "//" anywhere.
    std::memset(s.text, '7', sizeof s.text);
    s.pc = QScrOrg::kTextSize - 5;
    EXPECT_EQ(s.gInt(), 77777);
    EXPECT_EQ(s.pc, QScrOrg::kTextSize);
    EXPECT_THAT(BoxTexts(), ElementsAre("gInt:ん？"));
    // Once at the end, further arguments read as empty without more boxes.
    s.gStr(s.str);
    EXPECT_STREQ(s.str, "");
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
}

TEST_F(ScriptReaders, NegativeArgumentsReferToVariables) {
    s.iv[0] = 10;
    s.iv[2] = 12;
    s.iv[3] = 13;
    EXPECT_EQ(s.IntRef(-1), 10);
    EXPECT_EQ(s.IntRef(-3), 12);  // the condition flag
    EXPECT_EQ(s.IntRef(0), 0);    // a number, never a variable
    EXPECT_EQ(s.IntRef(-5), 0);
    EXPECT_EQ(s.IntRef(INT_MIN), 0);

    for (int i = 0; i < QScrOrg::kFloatVars; ++i) s.fv[i] = 0.5f + float(i);
    EXPECT_FLOAT_EQ(s.FloatRef(-1.0f), 0.5f);
    EXPECT_FLOAT_EQ(s.FloatRef(-6.0f), 5.5f);
    EXPECT_FLOAT_EQ(s.FloatRef(-2.75f), 1.5f);  // the fraction is dropped
    EXPECT_FLOAT_EQ(s.FloatRef(-0.5f), 0.0f);
    EXPECT_FLOAT_EQ(s.FloatRef(-FLT_MAX), 0.0f);
}
