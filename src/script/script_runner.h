#pragma once
#include <cstdint>

struct QScrOrg;
struct CommandTable;

// The runners read a script from pc on, one character at a time, until the frame or the script
// ends. "#" ends the frame, ";" the script, "c" runs a common command; each runner adds the
// commands of its own prefix and its own marks. A frame's loop always ends: after
// kMaxStepsPerFrame characters and commands the frame is cut (with one report), and a pc outside
// the text ends the script.
// A jump backward counts as kBackJumpSteps steps (at most 1024 of them in a frame).
constexpr int32_t kMaxStepsPerFrame = 16384;
constexpr int32_t kBackJumpSteps = 16;

// A runner's own marks ("|", "~"): returns false for a character that is not one of them, which
// is then skipped.
using ScriptMarkHandler = bool (*)(QScrOrg& s, char mark);

// One frame of a script: "#", ";", the common commands, the commands of `own` (null: none) and
// the runner's marks (null: none). The name is the one script errors are reported with.
void RunScriptLoop(QScrOrg& s, const char* name, const CommandTable* own,
                   ScriptMarkHandler marks = nullptr);

// s.jpAf(label) for the script of that name outside its frame (a runner starting an event at
// its label): a missing label is reported at the script's place, as inside a frame.
bool JumpToLabel(QScrOrg& s, const char* name, const char* label);

// Reads a command number as "%d" does at pc, then moves pc behind the blank that follows it
// (stopping at the end of the text); -1 when no number stands there.
int32_t ReadCommandNumber(QScrOrg& s);
