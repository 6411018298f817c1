#pragma once
#include <cstdint>
#include <string_view>

// Talk windows: speech balloons whose text types out two bytes a frame. The field shows three.

constexpr int kTalkWindowCount = 3;
constexpr int32_t kTalkTextSize = 128;  // 127 bytes and the NUL
// An `open` value that keeps the window up after its text is typed, until something closes it.
constexpr int32_t kTalkStaysOpen = 65535;
constexpr int32_t kTalkLineHeight = 20;

// The text is Shift-JIS with escapes: "\n" starts a new line, "\e" stops the drawing there,
// "\E" closes the window when the typing reaches it.
struct TalkWindow {
    char text[kTalkTextSize] = {};
    int32_t shown = 0;  // the first shown x 2 bytes of the text are drawn
    int32_t open = 0;   // 0 closed; kTalkStaysOpen; else frames left once the text is typed
    int32_t x = 0, y = 0;
    int32_t w = 0, h = 0;
};

extern TalkWindow g_TalkWindows[kTalkWindowCount];

// Every window closed and emptied (the world reset and tests).
void ResetTalkWindows();
// `open` = 0 on all three.
void CloseTalkWindows();

// Copies the text (cut to 127 bytes on a character boundary), sets `open` and starts typing
// anew (shown = 1).
void SetTalkText(TalkWindow& window, std::string_view text, int32_t open);
// Sizes the window for its text, 10 pixels a byte and 20 a line, and moves it into the screen.
void LayoutTalkWindow(TalkWindow& window);
// Puts the window's corner at a screen point (a character's position on the screen) and moves
// it into the screen.
void PlaceTalkWindow(TalkWindow& window, int32_t screenX, int32_t screenY);
// Once a frame: draws the box and the typed part of the text, then types further or, once the
// whole text shows, counts `open` down.
void DrawTalkWindow(TalkWindow& window);
// Windows 0, 1, 2 in order.
void DrawTalkWindows();
// Bytes of the window's text.
int32_t TalkTextLength(const TalkWindow& window);
// 1 when some open window has typed its whole text (its "\e" or "\E" included), else 0.
int32_t MessageFullyShown();
