#include "platform/window_rules.h"

#include <algorithm>

#include "gfx/backend.h"

ScreenRect PlaceWindow(const ScreenRect& usable, const WindowFrame& frame, bool integer,
                       int rememberedW, int rememberedH) {
    const int roomW = std::max(usable.w - frame.left - frame.right, 1);
    const int roomH = std::max(usable.h - frame.top - frame.bottom, 1);
    ScreenRect r;
    if (rememberedW > 0 && rememberedH > 0 && rememberedW <= roomW && rememberedH <= roomH) {
        r.w = rememberedW;
        r.h = rememberedH;
    } else if (const int k = std::min(roomW / kTargetWidth, roomH / kTargetHeight);
               integer && k >= 1) {
        r.w = kTargetWidth * k;
        r.h = kTargetHeight * k;
    } else {
        r.h = std::max(std::min(roomH, roomW * 3 / 4), 3);
        r.w = r.h * 4 / 3;
    }
    const int outerW = r.w + frame.left + frame.right;
    const int outerH = r.h + frame.top + frame.bottom;
    r.x = usable.x + std::max((usable.w - outerW) / 2, 0) + frame.left;
    r.y = usable.y + std::max((usable.h - outerH) / 2, 0) + frame.top;
    return r;
}

int SwapIntervalFor(int refreshHz) {
    if (refreshHz <= 0) return 1;
    return std::max(1, (refreshHz + 29) / 60);
}
