#pragma once
#include "base/frame.h"

// The modes of the game: the loop calls g_FrameProc (base/frame.h) once per frame, draws the fade
// over it and carries out a requested change of mode.

// One frame of the current mode: its handler, the fade overlay, then a requested mode change.
void FrameDispatch();
// The program's first frame handler, installed before the first frame: the title menu when the
// data set has a title file (ReadTitleFile), else StartupFrame.
void InstallStartupFrame();
// g_FrameProc the idle hook and the fade back to zero (tests; the world reset does this and more).
void ResetModes();
