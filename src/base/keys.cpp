#include "base/keys.h"

#include <algorithm>
#include <array>

#include "base/host.h"

int32_t g_KeyUp, g_KeyDown, g_KeyLeft, g_KeyRight;
int32_t g_KeyShift, g_KeyCtrl, g_KeyReturn, g_KeyBack;

namespace {

std::array<int32_t*, 16> g_HeldOver{};

int32_t** HeldOverSlot(const int32_t* cell) {
    auto it = std::find(g_HeldOver.begin(), g_HeldOver.end(), cell);
    return it == g_HeldOver.end() ? nullptr : &*it;
}

}  // namespace

void UpdateKey(int virtualKey, int32_t& cell) {
    bool down = g_Host.keys && (g_Host.keys->GetKeyState(virtualKey) & 0x80);
    if (int32_t** held = HeldOverSlot(&cell)) {
        if (down) return;  // still the press from before: the cell stays up
        *held = nullptr;
    }
    if (down)
        cell = (cell == kKeyUp) ? kKeyPressed : kKeyHeld;
    else
        cell = (cell == kKeyPressed || cell == kKeyHeld) ? kKeyReleased : kKeyUp;
}

void ResetKeys() {
    g_KeyUp = g_KeyDown = g_KeyLeft = g_KeyRight = 0;
    g_KeyShift = g_KeyCtrl = g_KeyReturn = g_KeyBack = 0;
    g_HeldOver.fill(nullptr);
}

void HoldKeyOver(int32_t& cell) {
    if (cell < kKeyPressed) return;
    int32_t** slot = HeldOverSlot(&cell);
    if (!slot) slot = HeldOverSlot(nullptr);
    if (!slot) return;  // all in use: the key acts as it always did
    *slot = &cell;
    cell = kKeyUp;
}

void HoldArrowsOver() {
    for (int32_t* cell : {&g_KeyUp, &g_KeyDown, &g_KeyLeft, &g_KeyRight}) HoldKeyOver(*cell);
}
