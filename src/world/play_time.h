#pragma once
#include <cstdint>

// Milliseconds the game has been played: every frame of a mode of the game adds its frame time
// (the title menu does not). Kept in saved games; the world reset sets it to 0.
extern uint64_t g_PlayTimeMs;

// Whether the game has changed since it was last saved or started: the leader walked, an event
// or a conversation started, a battle began. What the script goes on doing by itself does not
// count, so that the end of a conversation that saved leaves nothing to lose. A save and the
// world reset (a new or loaded game) clear it.
extern bool g_UnsavedProgress;
