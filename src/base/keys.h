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
// Puts every global key cell back to 0 (the world reset and tests).
void ResetKeys();
