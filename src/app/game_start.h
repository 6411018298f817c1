#pragma once
#include <cstdint>

// The first frame and the start of a new game: render states, lighting, the data every mode
// needs, the player's party and the first field with its script.

constexpr int kScriptNameSize = 128;
// The field script now loaded; loaded again by this name after a battle.
extern char g_FieldScriptName[kScriptNameSize];
// Where the field script stood when a battle began.
extern int32_t g_ScriptResumePos;

// The initial frame handler: camera start values, render states, lighting, GameStart; the field
// frame runs from the next frame on.
void StartupFrame();
// Material, light 0 and the lighting render states.
void SetupLighting();
// Everything a new game loads and sets, ending with the party bound to its fighter slots; the
// field commands are installed and every enemy slot reads enemy 0 again.
void GameStart();
// Copies the name into g_FieldScriptName and loads that script into the game state's field script.
void LoadFieldScript(const char* name);
// The field part of a new game state: script at the kept position (not running), the second
// character's start, closed windows, mode words 0, then ReloadField. Needs g_pGameState.
void StartField();
// Reads g_FieldName into the game state's field info and lets the field fade in.
void ReloadField();
