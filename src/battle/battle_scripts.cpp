// The runners of the battle's event and technique scripts, and how the battle starts them.
#include "battle/battle_scripts.h"

#include <cstdio>
#include <cstring>

#include "battle/battle.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"

namespace {

constexpr int32_t kBattleScriptNameSize = 32;
char g_EventName[kBattleScriptNameSize] = "";
char g_TechniqueName[kBattleScriptNameSize] = "";
constexpr char kEmptyTechnique[] = "w0 ;c0";

// "~" waits here, re-reading the '~' every frame, while the battle message shows.
bool EventMark(QScrOrg& s, char mark) {
    if (mark != '~') return false;
    if (g_pBattle && g_pBattle->messageCounter != 0) {
        --s.pc;
        s.stepping = 0;
    }
    return true;
}

// A script error outside a runner's frame, reported with the script's name at its pc.
void ReportEnded(const QScrOrg& s, const char* name, const char* what) {
    const ScriptReportPlace saved = g_ScriptReport;
    g_ScriptReport = ScriptReportPlace{name, s.pc, 0, nullptr, &s};
    ScriptError(s, what);
    g_ScriptReport = saved;
}

// One frame of the event script. A script that has ended (";", its end command, a failed
// label search) without e0 would leave the battle in the event frame for good: it hands the
// battle back as e0 does.
void RunEventFrame(QScrOrg& s) {
    if (!g_pBattle) return;
    const bool wasRunning = s.running != 0;
    if (wasRunning) RunScriptLoop(s, g_EventName, &kEventCommands, EventMark);
    if (s.running || g_pBattle->frameHandler != EventRunning) return;
    if (wasRunning) ReportEnded(s, g_EventName, "event ended without e0");
    EndBattleEvent(s);
}

}  // namespace

const char* EventScriptName() {
    return g_EventName;
}

const char* TechniqueScriptName() {
    return g_TechniqueName;
}

void ResetBattleScriptNames() {
    g_EventName[0] = '\0';
    g_TechniqueName[0] = '\0';
}

char TechniqueKindLetter(int32_t kind) {
    static constexpr char kLetters[] = {'m', 'w', 'i', 's'};
    return kind >= 0 && kind < 4 ? kLetters[kind] : '\0';
}

void StartEvent(QScrOrg& script, const char* label) {
    if (!g_pBattle) return;
    Battle& b = *g_pBattle;
    // An event started from inside another returns where the first one would: the event frame
    // itself is never a phase to return to.
    if (b.frameHandler != EventRunning) b.returnHandler = b.frameHandler;
    script.Rewind();
    // Without its label (the search has said so) the event ends at once, quietly.
    script.running = JumpToLabel(script, g_EventName, label) ? 1 : 0;
    b.frameHandler = EventRunning;
    RunEventFrame(script);
}

void LoadEventScript(int32_t number) {
    if (!g_pBattle) return;
    std::snprintf(g_EventName, sizeof g_EventName, "bEv\\ev%d", int(number));
    g_pBattle->eventScript.Load(g_EventName);
}

void LoadTechniqueScript(QScrOrg& script, int32_t fighter) {
    script.actor = fighter;
    script.aux = 0;
    script.running = 1;
    const char letter = g_pBattle ? TechniqueKindLetter(g_pBattle->actionKind) : '\0';
    if (letter != '\0' && fighter >= 0 && fighter < kBattleFighterCount) {
        std::snprintf(g_TechniqueName, sizeof g_TechniqueName, "wz\\%c%d", letter,
                      int(g_pBattle->action[fighter]));
        if (script.Load(g_TechniqueName)) return;
    }
    // A missing file would keep the old text: rather than play the last technique again, the
    // technique is one that ends at once (the loader has said what is missing).
    std::memset(script.text, 0, sizeof script.text);
    std::memcpy(script.text, kEmptyTechnique, sizeof kEmptyTechnique - 1);
    script.pc = 0;
}

void RunBattleEvent() {
    if (g_pBattle) RunEventFrame(g_pBattle->eventScript);
}

void RunTechnique() {
    if (!g_pBattle) return;
    QScrOrg& s = g_pBattle->techniqueScript;
    const bool wasRunning = s.running != 0;
    if (wasRunning) RunScriptLoop(s, g_TechniqueName, &kTechniqueCommands);
    // As with events: a technique that ends without w0 still hands the battle back.
    if (s.running || g_pBattle->frameHandler != ActionRunning) return;
    if (wasRunning) ReportEnded(s, g_TechniqueName, "technique ended without w0");
    EndTechnique(s);
}

void EventRunning() {
    if (!g_pBattle) return;
    if (g_pBattle->messageCounter != 0) --g_pBattle->messageCounter;
    DrawBattleMessage();
    RunBattleEvent();
}
