#pragma once
#include <array>
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
// The four places of the party: 0-2 the fighters in battle order (g_PartyOrder), 3 the member
// who stays back (the first member the order does not name; -1 when it names every one). An
// order entry outside 0-3 is an empty place (-1).
constexpr int kPartyPlaceCount = kPartyMemberCount;
std::array<int32_t, kPartyPlaceCount> PartyPlaces();
// Swaps the members of places a and b (0-3) and binds the fighters anew; any member may go
// anywhere, one who is down too. False, changing nothing, for a place outside 0-3.
bool SwapPartyPlaces(int32_t a, int32_t b);
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
