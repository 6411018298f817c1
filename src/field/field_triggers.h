#pragma once
#include <cstdint>

#include "math/vector3.h"

// What starts field scripts: the place label of a cell the leader steps into, the speak label
// of a character the leader talks to, and random encounters on steps that start nothing.

// Sets the field script running from the first "@:<label>//" of its text (searched from the
// start). A missing label is reported by the search and the script runs on to its end.
void StartFieldScriptAt(const char* label);
// Place label of an event byte: "PLACE<e - 1>", the whole byte counted (0x81 gives PLACE128).
// Returns the label's length; `out` holds at least 16 bytes.
int FormatPlaceLabel(char* out, uint8_t eventByte);
// "SPEAK<n>".
int FormatSpeakLabel(char* out, int32_t character);

// The leader's step ended in cell (column, row), having started from `old`. A cell with an
// event other than the last cell that started nothing starts its place label and puts the
// leader back where it stood; otherwise the cell becomes the last cell and the encounter draw
// is made (a random number modulo 4096 below g_EncounterRate starts a battle).
void LeaderEntersCell(int32_t column, int32_t row, const Vector3& old);
// Talks to whoever stands right in front of the leader: 0 when nobody does, else the character
// whose speak label now runs.
int32_t SpeakTrigger();
