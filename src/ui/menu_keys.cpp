#include "ui/menu_keys.h"

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
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
