#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/sjis.h"
#include "script_test_util.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ScriptLabels = ScriptTest;

namespace {

// Where pc stands, as the rest of the line: easier to read than an index.
std::string Rest(const QScrOrg& s) {
    std::string rest;
    for (int32_t i = s.pc; i < QScrOrg::kTextSize && s.text[i] && s.text[i] != '\n'; ++i)
        rest += s.text[i];
    return rest;
}

}  // namespace

TEST_F(ScriptLabels, NamesMatchWhole) {
    SetText(s, "@:AB//ab\n@:A//a\n@:ABC//abc\nc0");
    EXPECT_TRUE(s.jpAf("A"));
    EXPECT_EQ(Rest(s), "a");
    s.Rewind();
    EXPECT_TRUE(s.jpAf("ABC"));
    EXPECT_EQ(Rest(s), "abc");
    EXPECT_TRUE(s.jpAb("AB"));
    EXPECT_EQ(Rest(s), "ab");
    EXPECT_TRUE(s.jpAf("a") == false);  // case counts
    EXPECT_THAT(ShownTexts(), ElementsAre("ラベルがねぇよ:a"));
}

TEST_F(ScriptLabels, ForwardFindsTheFirstAtOrAfterPcBackwardTheNearestBefore) {
    SetText(s, "@:L//one\n@:L//two\nc4 L//1#\n@:L//three\nc0");
    EXPECT_TRUE(s.jpAf("L"));
    EXPECT_EQ(Rest(s), "one");
    EXPECT_TRUE(s.jpAf("L"));  // from behind the first label
    EXPECT_EQ(Rest(s), "two");
    // A backward jump from its command, behind the jump's own "L//", finds "two".
    s.pc = static_cast<int32_t>(std::string(s.text).find("1#"));
    EXPECT_TRUE(s.jpAb("L"));
    EXPECT_EQ(Rest(s), "two");
    s.pc = 0;  // backward from the "@" of the first label still sees it
    EXPECT_TRUE(s.jpAb("L"));
    EXPECT_EQ(Rest(s), "one");
    EXPECT_THAT(ShownTexts(), IsEmpty());
}

TEST_F(ScriptLabels, MissingLabelLeavesTheScriptOnItsEndCommand) {
    SetText(s, "@:A//c1 0,1,+#\nc0");
    const int32_t end = 15;
    for (bool forward : {true, false}) {
        g_MessageBoxLog.clear();
        s.pc = 3;
        EXPECT_FALSE(forward ? s.jpAf("NONE") : s.jpAb("NONE"));
        EXPECT_EQ(s.pc, end);
        EXPECT_EQ(Rest(s), "c0");
        ASSERT_EQ(g_MessageBoxLog.size(), 1u);
        EXPECT_EQ(g_MessageBoxLog[0].text, "ラベルがねぇよ:NONE");
    }
    // A text without an end command: pc goes to its terminator, never past the buffer.
    SetText(s, "@:A//");
    EXPECT_FALSE(s.jpAf("B"));
    EXPECT_EQ(s.pc, 5);
    std::memset(s.text, '@', sizeof s.text);
    EXPECT_FALSE(s.jpAb("B"));
    EXPECT_EQ(s.pc, QScrOrg::kTextSize - 1);
}

TEST_F(ScriptLabels, SearchesStayInsideTheText) {
    // An unfinished label at the very end, searched from either side of the buffer.
    std::memset(s.text, ' ', sizeof s.text);
    std::memcpy(s.text + QScrOrg::kTextSize - 4, "@:X/", 4);
    s.pc = QScrOrg::kTextSize - 1;
    EXPECT_FALSE(s.jpAb("X"));
    s.pc = QScrOrg::kTextSize - 4;
    EXPECT_FALSE(s.jpAf("X"));
    // A label whose "//" closes the buffer sends pc to the end, not beyond it.
    std::memcpy(s.text + QScrOrg::kTextSize - 5, "@:X//", 5);
    s.pc = -5;
    EXPECT_TRUE(s.jpAf("X"));
    EXPECT_EQ(s.pc, QScrOrg::kTextSize);
    EXPECT_TRUE(s.jpAb("X"));
    EXPECT_EQ(s.pc, QScrOrg::kTextSize);
}

TEST_F(ScriptLabels, LongAndShiftJisNamesMatchWhole) {
    std::string longName(100, 'N');
    std::string sjisName = ToSjis("表ソ");  // both end in 0x5C
    SetText(s, "@:" + longName + "//long\n@:" + sjisName + "//sjis\nc0");
    EXPECT_FALSE(s.jpAf(longName.substr(0, 63).c_str()));  // a prefix is not the name
    s.Rewind();
    EXPECT_TRUE(s.jpAf(longName.c_str()));
    EXPECT_EQ(Rest(s), "long");
    EXPECT_TRUE(s.jpAf(sjisName.c_str()));
    EXPECT_EQ(Rest(s), "sjis");
}

TEST_F(ScriptLabels, ANameRunsToTheNextDoubleSlash) {
    // Kept as the data expects: a label without its "//" swallows what follows up to the next
    // one, so a forward search passes over the label inside; a backward search tests every place.
    SetText(s, "@:A\n@:B//b\nc0");
    EXPECT_FALSE(s.jpAf("B"));
    s.pc = 11;
    EXPECT_TRUE(s.jpAb("B"));
    EXPECT_EQ(Rest(s), "b");
    s.Rewind();
    EXPECT_TRUE(s.jpAf("A\n@:B"));
}
