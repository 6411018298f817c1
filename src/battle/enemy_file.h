#pragma once
#include <string>
#include <string_view>

#include "world/fighter_record.h"

// The enemy status file "sChr\e<n>.qf" (ReadEnemST in battle.h reads it into an enemy slot).

// Technique words an enemy file may list, category 0's eight first; a -1 ends the list early.
constexpr int kEnemyTechniqueWords = kTechniqueCategoryCount * kTechniqueWordCount;

// Reads the file's text into `record` and the name of the enemy's character file into
// `characterName` (pathSjis only for the report). A damaged text is reported once and keeps
// what was read before the damage; false then, and the character name is left empty.
bool ReadEnemyStatusText(FighterRecord& record, std::string_view text, const std::string& pathSjis,
                         std::string& characterName);
