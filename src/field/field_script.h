#pragma once
#include <cstdint>

// The field script: its name, where it stood when a battle began, loading it and running it one
// frame at a time with the field's own prefixes ("f" commands, "|").

constexpr int kScriptNameSize = 128;
// The field script now loaded; loaded again by this name after a battle.
extern char g_FieldScriptName[kScriptNameSize];
// Where the field script stood when a battle began.
extern int32_t g_ScriptResumePos;

// Copies the name into g_FieldScriptName and loads that script into the game state's field script.
void LoadFieldScript(const char* name);
// The field part of a new game state: script at the kept position (not running), the second
// character's start, closed windows, mode words 0, then ReloadField. Needs g_pGameState.
void StartField();
// Reads g_FieldName into the game state's field info and lets the field fade in.
void ReloadField();

// One frame of g_pGameState->fieldScript with the fade of a script change around it: while aux
// counts (set by the command that changes the script) the screen darkens, the script named in
// str is loaded at 15, and the new script runs from 31 on.
void RunFieldScript();
