#include "world/fighter_record.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "world/character_text_reader.h"

FighterRecord::FighterRecord() {
    std::memset(name, 0, sizeof name);
    maxHp = 0;
    maxMp = 0;
    hp = maxHp;
    mp = maxMp;
    weapon = 1;
    guard = 0;
    for (uint8_t& s : stats) s = 1;
    for (int i = 0; i < kFighterCommandCount; ++i) commands[i] = static_cast<uint8_t>(i);
    for (auto& set : techniques)
        for (int32_t& word : set) word = -1;
}

bool FighterRecord::KnowsTechnique(int category, int technique) const {
    if (category < 0 || category >= kTechniqueCategoryCount || technique < 0 ||
        technique >= kTechniqueWordCount * 32)
        return false;
    const auto word = static_cast<uint32_t>(techniques[category][technique / 32]);
    return ((word >> (technique % 32)) & 1u) != 0;
}

void FighterRecord::SetName(std::string_view sjis) {
    const std::string fitted = FitSjis(sjis, sizeof name);
    std::memset(name, 0, sizeof name);
    std::memcpy(name, fitted.data(), fitted.size());
}

void RestoreStatus(FighterRecord& status) {
    status.hp = status.maxHp;
    status.mp = status.maxMp;
}

void ChangeFighterValue(FighterRecord& f, int32_t what, int64_t amount) {
    const auto points = [](int64_t value, int32_t maxValue) {
        return int32_t(std::max<int64_t>(0, std::min<int64_t>(value, maxValue)));
    };
    if (what == kChangeHp) {
        f.hp = points(int64_t(f.hp) + amount, f.maxHp);
    } else if (what == kChangeMp) {
        f.mp = points(int64_t(f.mp) + amount, f.maxMp);
    } else if (what >= 2 && what < kFighterStatCount) {
        f.stats[what] = uint8_t(std::clamp<int64_t>(int64_t(f.stats[what]) + amount, 1, 255));
    }
}
