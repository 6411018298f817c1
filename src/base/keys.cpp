#include "base/keys.h"

#include "base/host.h"

int32_t g_KeyUp, g_KeyDown, g_KeyLeft, g_KeyRight;
int32_t g_KeyShift, g_KeyCtrl, g_KeyReturn, g_KeyBack;

void UpdateKey(int virtualKey, int32_t& cell) {
    bool down = g_Host.keys && (g_Host.keys->GetKeyState(virtualKey) & 0x80);
    if (down)
        cell = (cell == kKeyUp) ? kKeyPressed : kKeyHeld;
    else
        cell = (cell == kKeyPressed || cell == kKeyHeld) ? kKeyReleased : kKeyUp;
}

void ResetKeys() {
    g_KeyUp = g_KeyDown = g_KeyLeft = g_KeyRight = 0;
    g_KeyShift = g_KeyCtrl = g_KeyReturn = g_KeyBack = 0;
}
