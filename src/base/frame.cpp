#include "base/frame.h"

uint32_t g_FrameStart;
uint32_t g_FrameTime;
FrameProc g_FrameProc = nullptr;
int32_t g_FadeR, g_FadeG, g_FadeB, g_FadeAlpha;

void NullFrameHook() {}
