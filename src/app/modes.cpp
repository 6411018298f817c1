#include "app/modes.h"

#include "app/sprite.h"

FrameProc g_FrameProc = NullFrameHook;
int32_t g_FadeR, g_FadeG, g_FadeB, g_FadeAlpha;

void NullFrameHook() {}

void FrameDispatch() {
    if (g_FrameProc) g_FrameProc();
    if (g_FadeAlpha != 0) {
        uint32_t colour = (uint32_t(g_FadeAlpha) & 255) << 24 | (uint32_t(g_FadeR) & 255) << 16 |
                          (uint32_t(g_FadeG) & 255) << 8 | (uint32_t(g_FadeB) & 255);
        DrawScreenRect(0, 0, 640.0f, 480.0f, colour);
    }
}

void ResetModes() {
    g_FrameProc = NullFrameHook;
    g_FadeR = g_FadeG = g_FadeB = g_FadeAlpha = 0;
}
