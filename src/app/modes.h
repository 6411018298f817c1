#pragma once
#include <cstdint>

#include "app/frame_proc.h"

// The current mode is the frame handler the loop calls once per frame.

extern FrameProc g_FrameProc;
// The full-screen fade overlay; only the low 8 bits of each reach the screen.
extern int32_t g_FadeR, g_FadeG, g_FadeB, g_FadeAlpha;

void NullFrameHook();
// One frame of the current mode: its handler, the fade overlay, then a requested mode change.
void FrameDispatch();
// Puts the mode words and the fade back to their start values (game start and tests).
void ResetModes();
