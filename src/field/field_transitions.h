#pragma once

#include "base/frame.h"

// The field's transition handlers (GameState::fieldHandler, run once a field or menu-screen
// frame) and what installs them. Every change of mode from the field passes through an opaque
// fade: to a battle by 16 alpha a frame, to and from the menu screen by 32; the field fades in
// by 32.

// Frame handlers the menu-screen fade switches to; the game flow installs them at start-up.
// While one is null the fade leaves g_FrameProc as it is.
extern FrameProc g_FieldFrameProc;
extern FrameProc g_MenuScreenFrameProc;

// Field input off, the leader's animation stopped, the battle music, and the fade to the battle.
void StartEncounter();
// Return on the field: fade out toward the menu screen.
void OpenMenuScreen();
// Ctrl on the menu screen: fade out back to the field.
void CloseMenuScreen();

// Black fade-out by 16 a frame; at full cover it requests the change to the battle.
void EncounterFadeOut();
// Fade-out by 32 a frame; at full cover it enters the menu screen (g_ModeNext 0: faces of the
// fighting party in texture slots 10-12, a seven-entry cursor list) or the field (1), and the
// field's fade-in follows.
void MenuFadeOut();
// Fade-in by 32 a frame; at zero the field takes input again (unless it was never covered) and
// the script resumes if g_ResumeScriptAfterFade says so.
void FieldFadeIn();
