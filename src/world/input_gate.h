#pragma once
#include <cstdint>

// The player's input gate, which the field and the battle share.

// Milliseconds since the last action; the field and battle input frames add the frame time
// while it is below 9999. Triggers, conversations and lists act only from 80 on; some script
// commands set it to -128 to hold the player back a little longer.
extern int32_t g_ActionTimer;
// 0 blocks all field input.
extern int32_t g_FieldInputEnabled;

// The time an action waits for after the last one.
constexpr int32_t kActionDelayMs = 80;
constexpr int32_t kActionTimerCap = 9999;
