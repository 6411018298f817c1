#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "world/data_tables.h"
#include "world/fighter_record.h"

// What the party carries: how many of each goods-table record (its items) and of each weapon
// (weapon files Wea\w-<n>.qd), 0 to 99 of each. Field scripts give and take them (f15-f20), the
// menu screen's items and equipment screens use them, and saves keep them.

constexpr int32_t kStockMax = 99;
// Weapon numbers the party can own: 0 to 255.
constexpr int32_t kWeaponKinds = 256;

class Stock {
public:
    explicit Stock(int32_t kinds) : counts_(size_t(kinds), 0) {}

    int32_t Kinds() const { return int32_t(counts_.size()); }
    bool Holds(int32_t number) const { return number >= 0 && number < Kinds(); }
    // 0 for a number outside the stock.
    int32_t Count(int32_t number) const { return Holds(number) ? counts_[size_t(number)] : 0; }
    // Adds `amount` (negative takes), keeping the count within 0 and kStockMax; a number outside
    // the stock changes nothing. The count afterwards.
    int32_t Add(int32_t number, int64_t amount);
    // (number, count) of everything held, by number.
    std::vector<std::pair<int32_t, int32_t>> Held() const;
    void Clear();

private:
    std::vector<uint8_t> counts_;
};

// By goods-table record (the table holds at most kMaxTableRecords).
extern Stock g_GoodsStock;
// By weapon number.
extern Stock g_WeaponStock;

// Both stocks empty (a new game, the world reset).
void ResetInventory();

// Using an item on a party member, outside battle.
enum class UseResult {
    kUsed,         // its amounts were applied and one fewer is held
    kNoneHeld,     // the party holds none (or the record is not in the goods table)
    kNothingHere,  // its record changes no points: it does nothing outside battle
    kNothingToDo,  // the member's points would not change (already full); nothing was used
};
// Record `record` of the goods table on `member`: its third column is added to the member's hit
// points and its fourth to the magic points, with the clamps of a battle's hit.
UseResult UseGoods(int32_t record, FighterRecord& member);

// Putting on a weapon the party owns.
enum class EquipResult {
    kEquipped,  // the member holds the weapon; the one it held before went into the bag
    kNotOwned,  // the party owns none of that weapon
    kSame,      // the member holds that weapon already
    kBagFull,   // the weapon held before cannot go into the bag (99 of it, or a number past it)
};
EquipResult EquipWeapon(FighterRecord& member, int32_t weapon);
