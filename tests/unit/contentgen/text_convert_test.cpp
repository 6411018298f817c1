// Text sources become Shift-JIS with CR LF, and the checks of scripts and tables catch what the
// game would trip over.
#include <gtest/gtest.h>

#include <tuple>

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

// Shift-JIS with CR LF whatever the source's line ends; script notes are left out (of scripts
// only), and a table's trailing empty lines.
TEST_F(TextConvertTest, SourcesBecomeShiftJisLines) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"\xEF\xBB\xBFハーロ\n120,24\r\nharlo", "sChr/c0.qf",
         "\x83\x6E\x81\x5B\x83\x8D\r\n120,24\r\nharlo\r\n"},
        {"%% a note with c and f in it\nc9 1,#\n  %% another\n@:SPEAK1//f10 ;\n", "SCR/t.qd",
         "c9 1,#\r\n@:SPEAK1//f10 ;\r\n"},
        {"%% kept\n", "chara/x.qd", "%% kept\r\n"},
        {"やくそう 傷をいやす 30 0\n\n\n", "Datas/GzDatas.qd",
         "\x82\xe2\x82\xad\x82\xbb\x82\xa4 \x8f\x9d\x82\xf0\x82\xa2\x82\xe2\x82\xb7 30 0\r\n"},
    };
    for (auto [text, rel, sjis] : cases) {
        EXPECT_TRUE(Convert(text, rel)) << FirstError();
        EXPECT_EQ(out, sjis) << rel;
    }
}

// What each runner would trip over is refused with its line: labels holding the runner's command
// prefix ('c' and 'f' in field scripts, 'e' in battle events, 'w' in technique scripts), commands
// without their blank at a line end, scripts past the buffer, table records that do not read,
// text Shift-JIS cannot hold.
TEST_F(TextConvertTest, WhatTheGameWouldTripOverIsNamedByLine) {
    std::string fits;  // 40 lines of 99 characters and a line end (one character once read): 4000
    for (int i = 0; i < 40; ++i) fits += std::string(99, 'x') + "\n";
    const struct {
        std::string text;
        const char* rel;
        const char* error;  // null: accepted
    } cases[] = {
        {"@:scene//\n", "SCR/t.qd", "SCR/t.qd:1: label name contains the command prefix 'c'"},
        {"@:WIN//\n@:first//\n", "SCR/wz/m0.qd", nullptr},
        {"@:WIN//\n@:next//\n", "SCR/bEv/ev0.qd",
         "SCR/bEv/ev0.qd:2: label name contains the command prefix 'e'"},
        {"@:OPEN\n", "SCR/t.qd", "SCR/t.qd:1: label without its closing //"},
        {"c3 hello//=f0 0,1;\nf10\nc9 1,", "SCR/t.qd",
         "SCR/t.qd:2: a command needs a blank after its number at the end of a line"},
        {"f10 \nc9 1,\nx = 10\nabc10\n", "SCR/t.qd", nullptr},
        {"f10\n", "SCR/bEv/ev1.qd", nullptr},  // 'f' is no command of battle events
        {"e0\n", "SCR/bEv/ev1.qd", "SCR/bEv/ev1.qd:1: a command needs a blank"},
        {fits, "SCR/t.qd", nullptr},
        {fits + std::string(93, 'y') + "\n", "SCR/t.qd", "4094 characters"},
        {"a b 1 2\n\nc d 3 4\n", "Datas/WzDatas_0.qd",
         "Datas/WzDatas_0.qd:2: empty line in a table"},
        {"a b 1\n", "Datas/WzDatas_0.qd", "Datas/WzDatas_0.qd:1:"},
        {"a b\n", "Datas/MnuDatas.qd", nullptr},
        // The menu actions are read as the game reads them, not as a table.
        {"0 items   # a comment\n6 script SHOP\n", "Datas/MnuActions.qd", nullptr},
        {"0 items\n7 fly\n", "Datas/MnuActions.qd", "line 2: entry 7 is not on the menu (0-6)"},
        // Eleven double-byte characters are 22 bytes: past the 20 a name holds.
        {"あいうえおかきくけこさ help 0 0\n", "Datas/WzDatas_1.qd",
         "Datas/WzDatas_1.qd:1: name longer than 20 bytes"},
        {"a b x 0\n", "Datas/WzDatas_1.qd", "Datas/WzDatas_1.qd:1:"},
        {"ok\nsmile \xF0\x9F\x98\x80\n", "SCR/t.qd", "SCR/t.qd:2: text that Shift-JIS cannot hold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(Convert(c.text, c.rel), c.error == nullptr) << FirstError();
        EXPECT_NE(FirstError().find(c.error ? c.error : ""), std::string::npos) << FirstError();
    }
}

}  // namespace
