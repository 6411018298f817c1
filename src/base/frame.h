#pragma once
#include <cstdint>

// What every frame shares: the frame clock, the current mode's frame handler and the
// full-screen fade overlay. The frame loop reads them; any layer may set them.

// A frame handler or hook: the current mode, the field's transition, the camera's motion.
using FrameProc = void (*)();

// Tick count at the start of the current frame, and milliseconds between the starts of the
// last two frames: the only clock of game logic.
extern uint32_t g_FrameStart;
extern uint32_t g_FrameTime;

// The current mode: the frame handler the loop calls once per frame. The game's first frame
// handler is installed by the game start (app/modes.h).
extern FrameProc g_FrameProc;
// The full-screen fade overlay; only the low 8 bits of each reach the screen.
extern int32_t g_FadeR, g_FadeG, g_FadeB, g_FadeAlpha;

// A hook that does nothing: the idle camera, an empty mode.
void NullFrameHook();
