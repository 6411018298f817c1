#pragma once
#include <cstdint>

// Milliseconds the game has been played: every frame of a mode of the game adds its frame time
// (the title menu does not). Kept in saved games; the world reset sets it to 0.
extern uint64_t g_PlayTimeMs;
