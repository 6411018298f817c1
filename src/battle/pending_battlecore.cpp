// Stand-ins for the battle's phases and rules until they land: just enough for the battle
// scripts to link and run. This file goes when the battle's own rules are merged.
#include "battle/battle.h"
#include "world/character.h"
#include "world/party.h"

void AdvanceGauges() {}
void EndCheck() {}
void ActionRunning() {
    RunTechnique();
}
void DrawBattleMessage() {}

void ComputeHit(int32_t kind, int32_t attacker, int32_t target, int32_t power,
                int32_t criticalThreshold, int32_t hitThreshold, int32_t stat,
                int32_t ignoreDefence) {
    (void)kind, (void)attacker, (void)power, (void)criticalThreshold, (void)hitThreshold,
        (void)ignoreDefence;
    if (!g_pBattle || target < 0 || target >= kBattleFighterCount) return;
    g_pBattle->pendingStat[target] = stat;
    g_pBattle->hitMark[target] = 1;
}

void ApplyPending(int32_t fighter) {
    if (!g_pBattle || fighter < 0 || fighter >= kBattleFighterCount || !g_Fighters[fighter]) return;
    if (g_pBattle->pendingStat[fighter] == 0)
        g_Fighters[fighter]->hp += g_pBattle->pendingAmount[fighter];
}

int32_t AddDamageLabel(int32_t fighter) {
    (void)fighter;
    return -1;
}

void ShowCritical(int32_t fighter) {
    if (g_pBattle && fighter >= 0 && fighter < kBattleFighterCount)
        g_pBattle->criticalFlags[fighter] = 0;
}

void ApplyHit(int32_t fighter) {
    ApplyPending(fighter);
    AddDamageLabel(fighter);
    ShowCritical(fighter);
}

void SetStance(int32_t fighter) {
    if (fighter >= 0 && fighter < kBattleFighterCount)
        g_Characters[fighter].SetMotion(kMotionBattleStance, 1);
}

void ReactToHit(int32_t fighter) {
    if (!g_pBattle || fighter < 0 || fighter >= kBattleFighterCount || !g_Fighters[fighter]) return;
    const FighterRecord& r = *g_Fighters[fighter];
    const int32_t n = r.hp + g_pBattle->pendingAmount[fighter];
    Character& c = g_Characters[fighter];
    if (n < 1) {
        c.SetMotion(kMotionDown, 0);
        return;
    }
    c.SetMotion(kMotionHit, 0);
    c.QueueMotion(n < r.maxHp / 6 ? kMotionLowHpStance : kMotionBattleStance, 1);
}

int32_t BattleOutcome() {
    if (!g_pBattle) return 0;
    const Battle& b = *g_pBattle;
    bool party = false, enemies = false;
    for (int32_t i = 0; i < kBattleFighterCount; ++i) {
        if (!b.alive[i]) continue;
        (i < kFirstEnemySlot ? party : enemies) = true;
    }
    return !party ? -1 : !enemies ? 1 : 0;
}
