#include "world/encounters.h"

#include "world/input_gate.h"

int32_t g_ActionTimer = kActionDelayMs;
int32_t g_FieldInputEnabled = 0;
int32_t g_EncounterRate = 8;
int32_t g_EnemySet[kEnemySlotCount] = {};

void ResetEnemySet() {
    for (int32_t& enemy : g_EnemySet) enemy = 0;
}
