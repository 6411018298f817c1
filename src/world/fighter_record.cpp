#include "world/fighter_record.h"

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
