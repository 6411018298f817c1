#pragma once
#include <cstdint>

struct CommandTable;
struct QScrOrg;

// The battle's two scripts beside battle.h's StartEvent, LoadEventScript, LoadTechniqueScript,
// RunBattleEvent, RunTechnique and the event frame EventRunning.

// What e0 does: the battle switch on, the message gone, the battle back in the phase it had
// when the event started, the script ended.
void EndBattleEvent(QScrOrg& s);
// What w0 does: the script ended, the actor's gauge empty, the battle switch off, the battle
// back to the gauges, or to the end check when one side is down.
void EndTechnique(QScrOrg& s);

// The technique script's letter for an action kind: 0 'm', 1 'w', 2 'i', 3 's'; 0 for others.
char TechniqueKindLetter(int32_t kind);

// The names of the scripts last loaded ("bEv\ev0", "wz\m3"), which script errors are reported
// with.
const char* EventScriptName();
const char* TechniqueScriptName();
// Both names empty again, as before any battle script was loaded.
void ResetBattleScriptNames();

// The battle event runner's "e" commands and the technique runner's "w" commands. Numbers
// outside their tables do nothing.
extern const CommandTable kEventCommands;
extern const CommandTable kTechniqueCommands;
