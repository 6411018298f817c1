// Text sources become Shift-JIS with CR LF, and the checks of scripts and tables catch what the
// game would trip over.
#include <gtest/gtest.h>

#include "script/qscr_org.h"
#include "test_support.h"
#include "text_convert.h"

namespace {

class TextConvertTest : public HeadlessHostTest {
protected:
    bool Convert(const std::string& utf8, const std::string& rel) {
        diag = Diagnostics();
        return ConvertTextSource(codec, utf8, rel, out, diag);
    }
    std::string FirstError() const {
        return diag.Messages().empty() ? "" : diag.Messages().front();
    }

    std::string out;
    Diagnostics diag;
};

TEST_F(TextConvertTest, ShiftJisWithCrLfWhateverTheSourceLineEnds) {
    ASSERT_TRUE(Convert("\xEF\xBB\xBFハーロ\n120,24\r\nharlo", "sChr/c0.qf"));
    EXPECT_EQ(out, "\x83\x6E\x81\x5B\x83\x8D\r\n120,24\r\nharlo\r\n");
}

TEST_F(TextConvertTest, ScriptNotesAreLeftOutAndTheRestLoads) {
    ASSERT_TRUE(Convert("%% a note with c and f in it\nc9 1,#\n  %% another\n@:SPEAK1//f10 ;\n",
                        "SCR/t.qd"));
    EXPECT_EQ(out, "c9 1,#\r\n@:SPEAK1//f10 ;\r\n");
    // Notes are not removed from other files.
    ASSERT_TRUE(Convert("%% kept\n", "chara/x.qd"));
    EXPECT_EQ(out, "%% kept\r\n");
}

TEST_F(TextConvertTest, LabelsMustNotHoldTheRunnersCommandPrefixes) {
    EXPECT_FALSE(Convert("@:scene//\n", "SCR/t.qd"));
    EXPECT_EQ(FirstError(), "SCR/t.qd:1: label name contains the command prefix 'c'");
    // Battle events run 'e' commands; technique scripts 'w'.
    EXPECT_TRUE(Convert("@:WIN//\n@:first//\n", "SCR/wz/m0.qd"));
    EXPECT_FALSE(Convert("@:WIN//\n@:next//\n", "SCR/bEv/ev0.qd"));
    EXPECT_EQ(FirstError(), "SCR/bEv/ev0.qd:2: label name contains the command prefix 'e'");
    EXPECT_FALSE(Convert("@:OPEN\n", "SCR/t.qd"));
    EXPECT_EQ(FirstError(), "SCR/t.qd:1: label without its closing //");
}

TEST_F(TextConvertTest, CommandsAtALineEndNeedTheirBlank) {
    EXPECT_FALSE(Convert("c3 hello//=f0 0,1;\nf10\nc9 1,", "SCR/t.qd"));
    EXPECT_EQ(FirstError(),
              "SCR/t.qd:2: a command needs a blank after its number at the end of a line");
    EXPECT_TRUE(Convert("f10 \nc9 1,\nx = 10\nabc10\n", "SCR/t.qd")) << FirstError();
    // 'f' is no command of battle events.
    EXPECT_TRUE(Convert("f10\n", "SCR/bEv/ev1.qd"));
    EXPECT_FALSE(Convert("e0\n", "SCR/bEv/ev1.qd"));
}

TEST_F(TextConvertTest, ScriptsMustFitTheScriptBuffer) {
    const std::string line(99, 'x');
    std::string fits, tooLong;
    // 40 lines of 99 characters and a line end (one character once read): 4000.
    for (int i = 0; i < 40; ++i) fits += line + "\n";
    EXPECT_TRUE(Convert(fits, "SCR/t.qd")) << FirstError();
    tooLong = fits + std::string(93, 'y') + "\n";
    EXPECT_FALSE(Convert(tooLong, "SCR/t.qd"));
    EXPECT_NE(FirstError().find("4094 characters"), std::string::npos) << FirstError();
}

TEST_F(TextConvertTest, TableRecordsAreCheckedWordByWord) {
    EXPECT_TRUE(Convert("やくそう 傷をいやす 30 0\n\n\n", "Datas/GzDatas.qd")) << FirstError();
    EXPECT_EQ(out,
              "\x82\xe2\x82\xad\x82\xbb\x82\xa4 \x8f\x9d\x82\xf0\x82\xa2\x82\xe2\x82\xb7 30 0\r\n");
    EXPECT_FALSE(Convert("a b 1 2\n\nc d 3 4\n", "Datas/WzDatas_0.qd"));
    EXPECT_EQ(FirstError(), "Datas/WzDatas_0.qd:2: empty line in a table");
    EXPECT_FALSE(Convert("a b 1\n", "Datas/WzDatas_0.qd"));
    EXPECT_TRUE(Convert("a b\n", "Datas/MnuDatas.qd"));
    // Eleven double-byte characters are 22 bytes: past the 20 a name holds.
    EXPECT_FALSE(Convert("あいうえおかきくけこさ help 0 0\n", "Datas/WzDatas_1.qd"));
    EXPECT_EQ(FirstError(), "Datas/WzDatas_1.qd:1: name longer than 20 bytes");
    EXPECT_FALSE(Convert("a b x 0\n", "Datas/WzDatas_1.qd"));
}

TEST_F(TextConvertTest, CharactersWithoutAShiftJisFormAreNamed) {
    EXPECT_FALSE(Convert("ok\nsmile \xF0\x9F\x98\x80\n", "SCR/t.qd"));
    EXPECT_EQ(FirstError(), "SCR/t.qd:2: text that Shift-JIS cannot hold");
}

}  // namespace
