#include "world/character_text_reader.h"

#include <cstdio>

#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "world/fighter_record.h"

namespace {

// Character and status files are a few hundred bytes; anything past this is not read.
constexpr size_t kMaxTextFileBytes = 1u << 20;

bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

CharacterTextReader::CharacterTextReader(std::string_view text, std::string headSjis,
                                         std::string pathSjis)
    : head_(std::move(headSjis)), path_(std::move(pathSjis)) {
    text = text.substr(0, text.find('\x1A'));
    text_.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        text_.push_back(text[i]);
    }
}

void CharacterTextReader::SkipLine(size_t bufferSize) {
    if (failed_ || bufferSize < 2) return;
    for (size_t taken = 0; taken + 1 < bufferSize && pos_ < text_.size(); ++taken) {
        if (text_[pos_++] == '\n') break;
    }
}

void CharacterTextReader::Fail(std::string_view itemUtf8) {
    failed_ = true;
    RZ_MsgBox(head_ + "\n" + path_ + "\n" + ToSjis(std::string(itemUtf8) + "が読めません"));
}

bool ReadGameTextFile(const std::string& pathSjis, std::string& out) {
    out.clear();
    FILE* f = OpenGameFile(pathSjis, "rb");
    if (!f) return false;
    char chunk[4096];
    size_t got = 0;
    while (out.size() < kMaxTextFileBytes && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.append(chunk, got);
    std::fclose(f);
    if (out.size() > kMaxTextFileBytes) out.resize(kMaxTextFileBytes);
    return true;
}

std::string FitSjis(std::string_view name, size_t size) {
    if (size == 0) return {};
    size_t end = 0;
    while (end < name.size()) {
        const size_t step = IsSjisLead(static_cast<unsigned char>(name[end])) ? 2 : 1;
        if (end + step > size - 1 || end + step > name.size()) break;
        end += step;
    }
    return std::string(name.substr(0, end));
}

namespace {

uint8_t Low8(int32_t v) {
    return static_cast<uint8_t>(static_cast<uint32_t>(v));
}

}  // namespace

bool ReadFighterStatusHead(CharacterTextReader& in, FighterRecord& r) {
    std::string name;
    if (!in.Read("名前", "%s\n", &name)) return false;
    r.SetName(name);
    if (!in.Read("最大HP・最大MP", "%d,%d\n", &r.maxHp, &r.maxMp)) return false;
    for (int i = 0; i < kFighterStatCount; ++i) {
        int32_t v = 0;
        if (!in.Read("能力値 " + std::to_string(i), "%d,", &v)) return false;
        r.stats[i] = Low8(v);
    }
    in.Read("能力値の行末", "\n");
    int32_t statusByte = 0, defaultAction = 0;
    if (!in.Read("状態", "%d\n", &statusByte)) return false;
    r.statusByte = Low8(statusByte);
    if (!in.Read("通常の行動", "%d\n", &defaultAction)) return false;
    r.defaultAction = Low8(defaultAction);
    if (!in.Read("武器・防具", "%d,%d,\n", &r.weapon, &r.guard)) return false;
    return true;
}
