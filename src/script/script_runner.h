#pragma once
#include <cstdint>
#include "app/game_start.h"

struct QScrOrg;

// The runners read a script from pc on, one character at a time, until the frame or the script
// ends. "#" ends the frame, ";" the script, "c" runs a common command; each runner adds its own
// prefixes. A frame's loop always ends: after kMaxStepsPerFrame characters and commands the
// frame is cut (with one report), and a pc outside the text ends the script.
// A jump backward counts as kBackJumpSteps steps (at most 1024 of them in a frame).
constexpr int32_t kMaxStepsPerFrame = 16384;
constexpr int32_t kBackJumpSteps = 16;

// One frame of a script's "#", ";" and "c" characters; `extra` handles the runner's own prefixes
// (it returns false for a character that is not one of them, which is then skipped). The name is
// the one script errors are reported with.
using ScriptPrefixHandler = bool (*)(QScrOrg& s, char prefix);
void RunScriptLoop(QScrOrg& s, const char* name, ScriptPrefixHandler extra);

// Runs one "c" command; pc stands right behind the "c".
void ExecCommand(QScrOrg& s);

// The field's "f" commands; until they are installed an "f" is reported once and skipped.
using FieldCommandHandler = void (*)(QScrOrg& s);
extern FieldCommandHandler g_FieldCommandHandler;

// g_FieldScriptName and LoadFieldScript live with the game start.

// One frame of g_pGameState->fieldScript with the fade of a script change around it: while aux
// counts (set by the command that changes the script) the screen darkens, the script named in
// str is loaded at 15, and the new script runs from 31 on.
void RunFieldScript();

// Reads a command number as "%d" does at pc, then moves pc behind the blank that follows it
// (stopping at the end of the text); -1 when no number stands there.
int32_t ReadCommandNumber(QScrOrg& s);
// The battle event runner's "e" commands and the technique runner's "w" commands; pc stands
// right behind the prefix. Numbers outside their tables do nothing.
void ExecEventCommand(QScrOrg& s);
void ExecTechniqueCommand(QScrOrg& s);
