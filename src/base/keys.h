#pragma once
#include <cstdint>

// Key cells: 0 up, 1 released at this poll, 2 pressed at this poll, 3 held.
constexpr int32_t kKeyUp = 0;
constexpr int32_t kKeyReleased = 1;
constexpr int32_t kKeyPressed = 2;
constexpr int32_t kKeyHeld = 3;

extern int32_t g_KeyUp, g_KeyDown, g_KeyLeft, g_KeyRight;
extern int32_t g_KeyShift, g_KeyCtrl, g_KeyReturn, g_KeyBack;

// Polls one key and advances its cell.
void UpdateKey(int virtualKey, int32_t& cell);
// Puts every global key cell back to 0 and lets go of every held-over cell (the world reset and
// tests).
void ResetKeys();

// Holding a key over: when a cell reads down (pressed or held), it reads up from now on, and
// keeps reading up while its key stays down; once the key has been released the cell works as
// before. What opens a screen or ends a conversation holds over the keys that did it, so that a
// key still down from before does not act on what comes next. The cell must live as long as the
// program (a global or a static); up to 16 cells are held over at a time.
void HoldKeyOver(int32_t& cell);
// The four arrows' cells: a list, menu or battle menu that opens.
void HoldArrowsOver();
