#include "world/character_text_reader.h"

#include <cstdint>

#include "base/game_file.h"
#include "base/sjis.h"
#include "world/fighter_record.h"

namespace {

// Character and status files are a few hundred bytes; anything past this is not read.
constexpr size_t kMaxTextFileBytes = 1u << 20;

}  // namespace

bool ReadGameTextFile(const std::string& pathSjis, std::string& out) {
    FileRead file = ReadGameFile(pathSjis, kMaxTextFileBytes);
    out = std::move(file.bytes);
    return file.Ok();
}

std::string FitSjis(std::string_view name, size_t size) {
    if (size == 0) return {};
    size_t end = 0;
    while (end < name.size()) {
        const size_t step = IsSjisLeadByte(static_cast<uint8_t>(name[end])) ? 2 : 1;
        if (end + step > size - 1 || end + step > name.size()) break;
        end += step;
    }
    return std::string(name.substr(0, end));
}

bool ReadFighterStatusHead(ItemReader& in, FighterRecord& r) {
    std::string name;
    if (!in.Read("名前", "%s\n", &name)) return false;
    in.Cut("名前", name, sizeof r.name - 1);
    r.SetName(name);
    if (!in.Read("最大HP・最大MP", "%d,%d\n", &r.maxHp, &r.maxMp)) return false;
    // Kept as written; a negative maximum is named (the first of the two, at their line).
    if (in.Fits("最大HP", r.maxHp, 0, INT32_MAX)) in.Fits("最大MP", r.maxMp, 0, INT32_MAX);
    for (int i = 0; i < kFighterStatCount; ++i) {
        int32_t v = 0;
        if (!in.Read("能力値 " + std::to_string(i), "%d,", &v)) return false;
        r.stats[i] = in.Byte("能力値 " + std::to_string(i), v);
    }
    in.Read("能力値の行末", "\n");
    int32_t statusByte = 0, defaultAction = 0;
    if (!in.Read("状態", "%d\n", &statusByte)) return false;
    r.statusByte = in.Byte("状態", statusByte);
    if (!in.Read("通常の行動", "%d\n", &defaultAction)) return false;
    r.defaultAction = in.Byte("通常の行動", defaultAction);
    if (!in.Read("武器・防具", "%d,%d,\n", &r.weapon, &r.guard)) return false;
    return true;
}
