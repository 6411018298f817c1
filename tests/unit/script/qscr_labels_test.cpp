#include <gtest/gtest.h>

#include <string>

#include "base/sjis.h"
#include "script_test_util.h"

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

// The script-label fuzz target holds the searches to a plain place-by-place search over any text
// and from any place, inside the buffer, with a failed search on the end command; these are the
// rules that search follows, as authors rely on them.
TEST_F(ScriptLabels, NamesMatchWholeForwardFromPcAndBackwardBeforeIt) {
    const std::string sjisName = ToSjis("表ソ"), longName(100, 'N');  // both SJIS end in 0x5C
    SetText(s, "@:AB//ab\n@:A//a\n@:L//one\n@:L//two\nc4 L//1#\n@:" + sjisName +
                   "//sjis\n@:" + longName + "//long\nc0");
    // The second "L" is found from behind the first label.
    for (auto [name, rest] : {std::pair{"A", "a"}, {"L", "one"}, {"L", "two"}}) {
        EXPECT_TRUE(s.jpAf(name));
        EXPECT_EQ(Rest(s), rest);
    }
    // A backward jump from its command, behind the jump's own "L//", finds "two".
    s.pc = static_cast<int32_t>(std::string(s.text).find("1#"));
    EXPECT_TRUE(s.jpAb("L"));
    EXPECT_EQ(Rest(s), "two");
    EXPECT_TRUE(s.jpAb("AB"));
    EXPECT_EQ(Rest(s), "ab");
    EXPECT_TRUE(s.jpAf(sjisName.c_str()));
    EXPECT_EQ(Rest(s), "sjis");
    EXPECT_FALSE(s.jpAf(longName.substr(0, 63).c_str()));  // a prefix is not the name
    s.Rewind();
    EXPECT_TRUE(s.jpAf(longName.c_str()));
    EXPECT_EQ(Rest(s), "long");
    s.Rewind();
    EXPECT_FALSE(s.jpAf("a"));  // case counts
    EXPECT_EQ(Rest(s), "c0");   // a missing label leaves the script on its end command
    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[1], "ラベルがねぇよ:a");
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
