#pragma once
#include <cstdint>

// The field's per-frame logic: the player's keys, walking, talking, the menu key, and the
// leader's walk animation. Walking itself is field_move.h; the labels it starts are
// field_triggers.h; the fades are field_transitions.h.

// Milliseconds since the last action; the field and battle input frames add the frame time
// while it is below 9999. Triggers, conversations and lists act only from 80 on; some script
// commands set it to -128 to hold the player back a little longer.
extern int32_t g_ActionTimer;
// 0 blocks all field input.
extern int32_t g_FieldInputEnabled;
// Encounters per 4096 steps that start nothing (0: none).
extern int32_t g_EncounterRate;

// The time an action waits for after the last one.
constexpr int32_t kActionDelayMs = 80;
constexpr int32_t kActionTimerCap = 9999;

// Once per field frame, first thing: the input of the field and all it sets off.
void FieldUpdate();
// The facing the arrow keys held now choose (Up, Down, Left, Right tested in that order, an
// Up or Down turned by 45 degrees with Left or Right); false when no arrow is held.
bool ArrowFacing(float cameraAngle, float& facing);
// Action timer 80, input off, encounter rate 8 (game start and tests).
void ResetFieldRuntime();
