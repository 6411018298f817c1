#include "battle/battle.h"

std::unique_ptr<Battle> g_pBattle;
int32_t g_EnemySet[kEnemySlotCount] = {};

void ResetEnemySet() {
    for (int32_t& enemy : g_EnemySet) enemy = 0;
}
