#include "ui/menu_keys.h"

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "ui/menu_list.h"
#include "world/input_gate.h"

bool ReadMenuKeys(int32_t& timer) {
    if (timer < kActionTimerCap) timer += int32_t(g_FrameTime);
    if (timer < kActionDelayMs) return false;
    UpdateKey(VK_SHIFT, g_KeyShift);
    UpdateKey(VK_CONTROL, g_KeyCtrl);
    UpdateKey(VK_UP, g_KeyUp);
    UpdateKey(VK_DOWN, g_KeyDown);
    return true;
}

bool ReadPageKeys(PageKeys& k, int32_t& timer) {
    if (!ReadMenuKeys(timer)) return false;
    UpdateKey(VK_LEFT, g_KeyLeft);
    UpdateKey(VK_RIGHT, g_KeyRight);
    if (g_KeyShift == kKeyPressed || g_KeyCtrl == kKeyPressed) {
        timer = kMenuKeyHoldBack;
        (g_KeyShift == kKeyPressed ? k.choose : k.back) = true;
    } else if (g_KeyLeft == kKeyPressed || g_KeyRight == kKeyPressed) {
        timer = kMenuKeyHoldBack;
        k.side = g_KeyLeft == kKeyPressed ? -1 : 1;
    } else {
        k.step = ListArrowStep(timer);
    }
    return true;
}
