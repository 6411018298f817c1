#include <string>
#include <tuple>

#include "base/sjis.h"
#include "text_draw_test.h"
#include "ui/talk_window.h"

namespace {

class TalkWindowTest : public TextDrawTest {
protected:
    void SetUp() override {
        TextDrawTest::SetUp();
        ResetTalkWindows();
    }
    void TearDown() override {
        ResetTalkWindows();
        TextDrawTest::TearDown();
    }
    // One frame of window 0: the texts it drew.
    std::vector<Text> Frame() {
        rec->draws.clear();
        DrawTalkWindow(w0);
        return Texts();
    }
    std::string Shown() {
        std::string all;
        for (const Text& t : Frame()) all += t.text;
        return all;
    }
    TalkWindow& w0 = g_TalkWindows[0];
};

}  // namespace

TEST_F(TalkWindowTest, TextTypesTwoBytesAFrameThenStaysOrCountsDown) {
    SetTalkText(w0, "ABCDEF\\e", kTalkStaysOpen);  // the form conversations use
    EXPECT_EQ(Shown(), "AB");
    EXPECT_EQ(MessageFullyShown(), 0);
    EXPECT_EQ(Shown(), "ABCDEF");
    EXPECT_EQ(MessageFullyShown(), 1);  // typing has reached the end, the escape included
    EXPECT_EQ(w0.open, kTalkStaysOpen);

    SetTalkText(w0, "ABCD", 2);
    EXPECT_EQ(Shown(), "AB");
    EXPECT_EQ(Shown(), "ABCD");  // fully shown: the stay counts down from here
    EXPECT_EQ(Shown(), "ABCD");
    EXPECT_EQ(w0.open, 0);
    EXPECT_EQ(MessageFullyShown(), 0);  // a closed window never counts
}

TEST_F(TalkWindowTest, EscapesBreakLinesAndCloseTheWindow) {
    SetTalkText(w0, "AB\\nCD\\ECD", kTalkStaysOpen);
    w0.x = 100, w0.y = 50;
    EXPECT_EQ(Shown(), "AB");
    auto texts = Frame();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::tuple(texts[1].text, texts[1].x, texts[1].y), std::tuple("CD", 100, 70));
    EXPECT_EQ(Shown(), "ABCD");  // reaches "\E": the lines so far are drawn, then it closes
    EXPECT_EQ(w0.open, 0);
}

TEST_F(TalkWindowTest, DoubleByteCharactersAreNeverSplit) {
    // After "a" every character is out of step with the byte pairs; seven bytes in all.
    SetTalkText(w0, "a" + SJIS("あいう"), kTalkStaysOpen);
    EXPECT_EQ(Shown(), "a" + SJIS("あ"));
    EXPECT_EQ(Shown(), "a" + SJIS("あいう"));
    EXPECT_EQ(MessageFullyShown(), 1);  // an odd length still finishes typing

    // A trail byte equal to '\' belongs to its character: no escape.
    const std::string so = SJIS("ソ");
    ASSERT_EQ(so[1], '\\');
    SetTalkText(w0, so + "n" + so, kTalkStaysOpen);
    w0.shown = 10;
    EXPECT_EQ(Frame().size(), 1u);

    // Texts are kept to 127 bytes, cut between characters and escapes.
    SetTalkText(w0, std::string(126, 'x') + SJIS("あ"), 5);
    EXPECT_EQ(TalkTextLength(w0), 126);
    SetTalkText(w0, std::string(300, 'y'), 5);
    EXPECT_EQ(TalkTextLength(w0), 127);
}
