// Stand-ins for the battle's script side and its fighter files until they land: events and
// techniques end at once, enemy and weapon files are not read. Nothing relies on more.
#include <cstdio>

#include "battle/battle.h"

void StartEvent(QScrOrg& script, const char* label) {
    Battle* b = g_pBattle.get();
    if (!b) return;
    b->returnHandler = b->frameHandler;
    script.running = 1;
    script.Rewind();
    script.jpAf(label);
    b->frameHandler = EventRunning;
    RunBattleEvent();
}

void LoadEventScript(int32_t number) {
    if (!g_pBattle) return;
    char name[32];
    std::snprintf(name, sizeof name, "bEv\\ev%d", number);
    g_pBattle->eventScript.Load(name);
}

void LoadTechniqueScript(QScrOrg& script, int32_t fighter) {
    if (!g_pBattle || !IsFighter(fighter)) return;
    static const char kLetters[4] = {'m', 'w', 'i', 's'};
    const int32_t kind = g_pBattle->actionKind;
    const char letter = kind >= 0 && kind < 4 ? kLetters[kind] : 'm';
    script.actor = fighter;
    script.aux = 0;
    char name[32];
    std::snprintf(name, sizeof name, "wz\\%c%d", letter, g_pBattle->action[fighter]);
    script.Load(name);
}

void RunBattleEvent() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    b->eventDone = 1;
    b->messageCounter = 0;
    b->frameHandler = b->returnHandler;
    b->eventScript.running = 0;
    b->eventScript.stepping = 0;
}

void RunTechnique() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    QScrOrg& s = b->techniqueScript;
    s.running = 0;
    if (IsFighter(s.actor)) b->gauge[s.actor] = 0;
    b->eventDone = 0;
    if (BattleOutcome() == 0) {
        b->frameHandler = AdvanceGauges;
    } else {
        b->hudVisible = 0;
        b->frameHandler = EndCheck;
    }
}

void EventRunning() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    if (b->messageCounter != 0) b->messageCounter -= 1;
    DrawBattleMessage();
    RunBattleEvent();
}

void ReadEnemST(int32_t, int32_t) {}

void LoadWeapon(int32_t, int32_t) {}
