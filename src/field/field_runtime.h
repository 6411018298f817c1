#pragma once
#include <cstdint>

#include "world/encounters.h"
#include "world/input_gate.h"

// The field's per-frame logic: the player's keys, walking, talking, the menu key, and the
// leader's walk animation. Walking itself is field_move.h; the labels it starts are
// field_triggers.h; the fades are field_transitions.h.

// Once per field frame, first thing: the input of the field and all it sets off.
void FieldUpdate();
// The facing the arrow keys held now choose (Up, Down, Left, Right tested in that order, an
// Up or Down turned by 45 degrees with Left or Right); false when no arrow is held.
bool ArrowFacing(float cameraAngle, float& facing);
// Action timer 80, input off, encounter rate 8 (the world reset and tests).
void ResetFieldRuntime();
