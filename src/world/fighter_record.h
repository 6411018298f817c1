#pragma once
#include <cstdint>
#include <string_view>

constexpr int kFighterNameSize = 24;  // 23 bytes and the terminator
constexpr int kFighterStatCount = 11;
constexpr int kFighterCommandCount = 5;
constexpr int kTechniqueCategoryCount = 6;
constexpr int kTechniqueWordCount = 8;  // 256 techniques per category, one bit each

// Roles of the stats entries; 3, 4 and 8 are kept but no rule reads them.
constexpr int kStatBonus = 0;  // added to both attack and defence
constexpr int kStatBaseAttack = 1;
constexpr int kStatBaseDefence = 2;
constexpr int kStatSpeed = 5;
constexpr int kStatAccuracy = 6;
constexpr int kStatEvasion = 7;
constexpr int kStatAttack = 9;
constexpr int kStatDefence = 10;

// The status of one fighter: a party member for the whole run, or an enemy for one battle.
struct FighterRecord {
    char name[kFighterNameSize];  // Shift-JIS
    int32_t hp;
    int32_t maxHp;
    int32_t mp;
    int32_t maxMp;
    uint8_t stats[kFighterStatCount];        // 1-255
    uint8_t statusByte = 0;                  // read from the status file; no rule uses it
    uint8_t commands[kFighterCommandCount];  // battle commands in menu order
    // Set c holds technique k of table c in bit k % 32 of word k / 32.
    int32_t techniques[kTechniqueCategoryCount][kTechniqueWordCount];
    uint8_t defaultAction = 0;  // plain command and enemy turn
    int32_t weapon;             // weapon file number
    int32_t guard;              // guard file number (kept; nothing loads it)

    // Nameless, 0 points, every stat 1, commands 0-4, weapon 1, every technique known.
    FighterRecord();

    // False for a category or technique outside the sets.
    bool KnowsTechnique(int category, int technique) const;
    // Copies a Shift-JIS name, cut to 23 bytes without splitting a character.
    void SetName(std::string_view sjis);
};

// Back to full points: hp = maxHp, mp = maxMp.
void RestoreStatus(FighterRecord& status);

// What a change of a fighter's value may name: 0 hit points, 1 magic points, 2-10 that stat.
constexpr int32_t kChangeHp = 0;
constexpr int32_t kChangeMp = 1;
// Adds `amount` to value `what` of the fighter as battles and items do: hit and magic points stay
// within 0 and their maxima, stats within 1 and 255. Other values of `what` change nothing.
void ChangeFighterValue(FighterRecord& f, int32_t what, int64_t amount);
