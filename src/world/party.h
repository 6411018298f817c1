#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "world/fighter_record.h"

constexpr int kPartyMemberCount = 4;
constexpr int kFighterCount = 8;  // 0-2 the party in battle order, 3-7 enemies
constexpr int kPartyFighterCount = 3;
constexpr int kFaceNameSize = 64;

// The four party members, read from their status files at game start; they carry points and
// changed stats from battle to battle.
extern FighterRecord g_PartyMembers[kPartyMemberCount];
// Entries 0-2 point into g_PartyMembers (BindPartyFighters); 3-7 are the enemies of the current
// battle, owned here and null outside battles.
extern FighterRecord* g_Fighters[kFighterCount];
// Which party member takes fighter slot 0, 1, 2.
extern int32_t g_PartyOrder[kPartyFighterCount];
// Per party member: the face picture's name, which is also the member's character file.
extern char g_FaceNames[kPartyMemberCount][kFaceNameSize];

// g_Fighters[0..2] = the members g_PartyOrder names; an order entry outside 0-3 leaves its
// fighter slot empty rather than pointing past the table.
void BindPartyFighters();
// Frees the enemy records of fighter slots 3-7.
void FreeEnemyFighters();
// Records as constructed, faces nameless, no enemies, order (1, 0, 3) and bound: the state
// before game start reads the files (tests start from it too).
void ResetParty();

// Reads "<base>sChr\c<member>.qf" into g_PartyMembers[member] and g_FaceNames[member]. A
// missing file shows "QReadsChrData:ファイルが無い" and changes nothing; a damaged one is
// reported once and keeps what was read before the damage.
void QReadsChrData(int member);
// The reading itself on the file's text (pathSjis only for the report); false when the text
// ended or broke before the last item.
bool ReadPartyStatusText(int member, std::string_view text, const std::string& pathSjis);
// Game start: every member's file, then full points and attack and defence from their bases.
void LoadPartyStatus();
