#pragma once
#include <cstdint>
#include <string>

// The authoring keys that --dev turns on, so that players never meet them:
// - F5 reloads the field and its script from disk where the game stands: the leader keeps his
//   place, the script waits at its end for the next event or talk, which then reads the text as
//   it is now;
// - F6 shows (and hides) where the game stands in its data: the field, the script, the label the
//   script position is under and that position as line and column, in the game's shadow text.
extern bool g_DevKeys;

// A key-down message; F5 and F6 act when the keys are on (not repeats).
void DevKeyDown(uint32_t key, uint32_t flags);
// F5's reload (only on the field, outside battles and the menu screen); false when not there.
bool ReloadFieldFromDisk();
// What F6 shows, in UTF-8: "field baske0  SCR/test.qd  label PLACE3  at 12:5".
std::string WhereTheGameStands();
// Draws it when F6 has turned it on; every frame, after the game's own drawing.
void DrawDevOverlay();
