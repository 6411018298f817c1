#include "world/inventory.h"

#include <algorithm>

Stock g_GoodsStock(kMaxTableRecords);
Stock g_WeaponStock(kWeaponKinds);

int32_t Stock::Add(int32_t number, int64_t amount) {
    if (!Holds(number)) return 0;
    uint8_t& c = counts_[size_t(number)];
    c = uint8_t(std::clamp<int64_t>(int64_t(c) + amount, 0, kStockMax));
    return c;
}

std::vector<std::pair<int32_t, int32_t>> Stock::Held() const {
    std::vector<std::pair<int32_t, int32_t>> held;
    for (int32_t n = 0; n < Kinds(); ++n)
        if (counts_[size_t(n)] > 0) held.emplace_back(n, counts_[size_t(n)]);
    return held;
}

void Stock::Clear() {
    std::fill(counts_.begin(), counts_.end(), uint8_t(0));
}

void ResetInventory() {
    g_GoodsStock.Clear();
    g_WeaponStock.Clear();
}

UseResult UseGoods(int32_t record, FighterRecord& member) {
    if (record < 0 || record >= Goods.Count() || g_GoodsStock.Count(record) == 0)
        return UseResult::kNoneHeld;
    const GoodsRecord& g = Goods[record];
    if (g.third == 0 && g.fourth == 0) return UseResult::kNothingHere;
    FighterRecord after = member;
    ChangeFighterValue(after, kChangeHp, g.third);
    ChangeFighterValue(after, kChangeMp, g.fourth);
    if (after.hp == member.hp && after.mp == member.mp) return UseResult::kNothingToDo;
    member = after;
    g_GoodsStock.Add(record, -1);
    return UseResult::kUsed;
}

EquipResult EquipWeapon(FighterRecord& member, int32_t weapon) {
    if (g_WeaponStock.Count(weapon) == 0) return EquipResult::kNotOwned;
    if (member.weapon == weapon) return EquipResult::kSame;
    if (g_WeaponStock.Count(member.weapon) >= kStockMax || !g_WeaponStock.Holds(member.weapon))
        return EquipResult::kBagFull;
    g_WeaponStock.Add(member.weapon, 1);
    g_WeaponStock.Add(weapon, -1);
    member.weapon = weapon;
    return EquipResult::kEquipped;
}
