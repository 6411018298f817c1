#pragma once
#include <cstdint>

// What the party meets: how often a step starts a battle and which enemies stand in it.

// Encounters per 4096 steps that start nothing (0: none).
extern int32_t g_EncounterRate;

// The enemy numbers the next battles read into fighter slots 3-7 (-1: the slot stays empty).
// Every slot reads enemy 0 until a field script sets them.
constexpr int32_t kEnemySlotCount = 5;
extern int32_t g_EnemySet[kEnemySlotCount];
void ResetEnemySet();
