#include <string>

#include "app/sjis.h"
#include "battle/talk_window.h"
#include "battle_ui_test.h"

namespace {

class TalkWindowTest : public BattleUiTest {
protected:
    void SetUp() override {
        BattleUiTest::SetUp();
        ResetTalkWindows();
    }
    void TearDown() override {
        ResetTalkWindows();
        BattleUiTest::TearDown();
    }
    // One frame of window 0; the texts it showed.
    std::vector<Text> Frame() {
        rec->draws.clear();
        DrawTalkWindow(g_TalkWindows[0]);
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

TEST_F(TalkWindowTest, TextTypesTwoBytesAFrameAndStopsAtItsEscape) {
    // The form conversations use: the text and a closing "\e".
    SetTalkText(w0, "ABCDEF\\e", kTalkStaysOpen);
    EXPECT_EQ(w0.shown, 1);
    EXPECT_EQ(Shown(), "AB");
    EXPECT_EQ(MessageFullyShown(), 0);
    EXPECT_EQ(Shown(), "ABCDEF");  // shown 3
    // Typing has reached the end, the escape included.
    EXPECT_EQ(w0.shown, 4);
    EXPECT_EQ(MessageFullyShown(), 1);
    // A window that stays open keeps showing its text.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Shown(), "ABCDEF");
    EXPECT_EQ(w0.open, kTalkStaysOpen);
    // The box is drawn first, at the window's rectangle.
    w0.x = 30, w0.y = 40, w0.w = 100, w0.h = 20;
    Frame();
    ASSERT_EQ(Rects().size(), 1u);
    EXPECT_FLOAT_EQ(Rects()[0].x, 30);
    EXPECT_FLOAT_EQ(Rects()[0].w, 100);
    EXPECT_EQ(Texts().at(0).x, 30);
    EXPECT_EQ(Texts().at(0).y, 40);
    EXPECT_EQ(Texts().at(0).colour, 0xFFFFFFFFu);
}

TEST_F(TalkWindowTest, ClosedWindowDrawsNothingAndCountedStayRunsOut) {
    SetTalkText(w0, "AB", 0);
    Frame();
    EXPECT_TRUE(rec->draws.empty());
    EXPECT_EQ(MessageFullyShown(), 0);  // a closed window never counts

    SetTalkText(w0, "ABCD", 3);
    Shown();  // types to shown 2
    EXPECT_EQ(w0.open, 3);
    Shown();
    Shown();
    EXPECT_EQ(w0.open, 1);
    EXPECT_EQ(Shown(), "ABCD");
    EXPECT_EQ(w0.open, 0);
    EXPECT_EQ(Shown(), "");
}

TEST_F(TalkWindowTest, CloseEscapeShutsTheWindowWhenTypingReachesIt) {
    SetTalkText(w0, "AB\\ECD", kTalkStaysOpen);
    EXPECT_EQ(Shown(), "AB");
    EXPECT_NE(w0.open, 0);
    EXPECT_EQ(Shown(), "AB");  // the line is drawn, then the window closes
    EXPECT_EQ(w0.open, 0);
    EXPECT_EQ(Shown(), "");
}

TEST_F(TalkWindowTest, NewLineEscapeStartsTheNextLineTwentyPixelsDown) {
    SetTalkText(w0, "AB\\nCD\\nEF", kTalkStaysOpen);
    w0.x = 100, w0.y = 50;
    w0.shown = 10;
    auto texts = Frame();
    ASSERT_EQ(texts.size(), 3u);
    const char* lines[3] = {"AB", "CD", "EF"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i].text, lines[i]);
        EXPECT_EQ(texts[i].x, 100);
        EXPECT_EQ(texts[i].y, 50 + 20 * i);
    }
}

TEST_F(TalkWindowTest, DoubleByteCharactersAreNeverCutAtTheTypedEnd) {
    // "aあいう": after the single byte every character is out of step with the byte pairs.
    const std::string text = "a" + SJIS("あいう");
    SetTalkText(w0, text, kTalkStaysOpen);
    EXPECT_EQ(Shown(), "a" + SJIS("あ"));      // shown 1: "a" and the whole of "あ"
    EXPECT_EQ(Shown(), "a" + SJIS("あいう"));  // shown 3
    // Seven bytes: typing still reaches the end, so the window counts as fully shown.
    EXPECT_EQ(w0.shown, 4);
    EXPECT_EQ(MessageFullyShown(), 1);
    // A Shift-JIS trail byte that equals '\' is part of its character, not an escape.
    const std::string so = SJIS("ソ");
    ASSERT_EQ(so[1], '\\');
    SetTalkText(w0, so + "n" + so, kTalkStaysOpen);
    w0.shown = 10;
    auto texts = Frame();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, so + "n" + so);
}

TEST_F(TalkWindowTest, SetTalkTextKeepsAtMost127BytesOnACharacterBoundary) {
    std::string longText(126, 'x');
    longText += SJIS("あ");  // bytes 126 and 127: does not fit
    SetTalkText(w0, longText, 5);
    EXPECT_EQ(TalkTextLength(w0), 126);
    EXPECT_EQ(w0.open, 5);
    SetTalkText(w0, std::string(300, 'y'), 5);
    EXPECT_EQ(TalkTextLength(w0), 127);
    EXPECT_EQ(w0.text[127], '\0');
    // An escape at the cut is dropped whole rather than leaving a lone backslash.
    SetTalkText(w0, std::string(126, 'z') + "\\e", 5);
    EXPECT_EQ(TalkTextLength(w0), 126);
}

TEST_F(TalkWindowTest, LayoutMeasuresLinesAndKeepsTheWindowOnScreen) {
    SetTalkText(w0, "ABC\\nABCDEFGH\\nA", 1);
    w0.x = 10, w0.y = 10;
    LayoutTalkWindow(w0);
    EXPECT_EQ(w0.w, 80);  // the widest line: 8 bytes
    EXPECT_EQ(w0.h, 60);  // three lines
    SetTalkText(w0, "ABCD", 1);
    LayoutTalkWindow(w0);
    EXPECT_EQ(w0.w, 41);  // the first line starts at 1
    EXPECT_EQ(w0.h, 20);

    // Off the right and bottom edges: pulled back so that it ends at 640 x 480.
    PlaceTalkWindow(w0, 620, 470);
    EXPECT_EQ(w0.x, 640 - 41);
    EXPECT_EQ(w0.y, 460);
    PlaceTalkWindow(w0, 599, 460);  // exactly touching both edges: stays
    EXPECT_EQ(w0.x, 599);
    EXPECT_EQ(w0.y, 460);
    PlaceTalkWindow(w0, -5, -7);
    EXPECT_EQ(w0.x, 0);
    EXPECT_EQ(w0.y, 0);
}

TEST_F(TalkWindowTest, FullyShownLooksAtEveryOpenWindow) {
    SetTalkText(g_TalkWindows[2], "ABCD", kTalkStaysOpen);
    EXPECT_EQ(MessageFullyShown(), 0);
    g_TalkWindows[2].shown = 2;
    EXPECT_EQ(MessageFullyShown(), 1);
    CloseTalkWindows();
    EXPECT_EQ(MessageFullyShown(), 0);
}
