#pragma once
#include "check/data_files.h"

// The scripts checked against each other and against the rest of the built data, with what
// the game does when it plays them:
// - every command reads its arguments (numbers where numbers belong), and no negative number
//   reads a variable that does not exist (a script cannot write a negative float constant);
// - every jump finds its label in the direction it searches;
// - every script, field, character, sound effect, enemy and piece of music a script names
//   is built (music by its name in the music list);
// - every field a script loads (and the first field, with the first script) has a PLACE
//   label in the script that runs on it for each event of its map, and every character that
//   script places has its SPEAK label;
// - every battle scene label is in the battle event script, and every technique script a
//   party member's commands and techniques or an enemy's turn can start is built, with the
//   weapon files of all fighters (checked when the data set has enemies, as do the enemy
//   numbers of f12: a set without them is a field-only one).
void CheckScripts(DataFiles& files, Diagnostics& diag);

// The field and script the game starts with.
constexpr const char* kFirstField = "baske0";
constexpr const char* kFirstScript = "test";
