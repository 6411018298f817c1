#pragma once
#include <cstdint>

// The words through which a mode asks for the next one. A requester sets g_ModeNow (the mode
// it leaves: 1 field, 0 battle) and g_ModeNext (0 battle, 1 field, 2 end the game), then
// g_ModeChangeRequest; the change runs at the end of that frame, under an opaque fade. The
// field's menu-screen fade reads g_ModeNext as 0 open the menu screen, 1 back to the field.
extern int32_t g_ModeNow;
extern int32_t g_ModeNext;
extern int32_t g_ModeChangeRequest;
// Set when an encounter starts; cleared once the battle exists.
extern int32_t g_EncounterPending;
// Frames counted by a transition handler; whoever installs such a handler sets it to 0.
extern int32_t g_TransitionCounter;

constexpr int kMusicNameSize = 128;
// The music an encounter plays.
extern char g_BattleMusicName[kMusicNameSize];
// When set, the field's fade-in sets the field script running again.
extern uint8_t g_ResumeScriptAfterFade;

// All zero, battle music "btl0" (the world reset and tests).
void ResetModeWords();
