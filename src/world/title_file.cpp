#include "world/title_file.h"

#include <iterator>
#include <memory>

#include "base/config_lines.h"
#include "base/game_file.h"
#include "base/paths.h"

namespace {

std::unique_ptr<TitleFile> g_Title;

struct Key {
    const char* name;
    size_t limit;
    std::string TitleFile::*field;
    int entry;  // -1: not an entry
};

constexpr Key kTitleKeys[] = {
    {"save", kMaxSaveNameLength, &TitleFile::saveName, -1},
    {"picture", kMaxTitlePathLength, &TitleFile::picture, -1},
    {"music", kMaxTitleMusicLength, &TitleFile::music, -1},
    {"new", kMaxTitleEntryLength, nullptr, kTitleNewGame},
    {"continue", kMaxTitleEntryLength, nullptr, kTitleContinue},
    {"load", kMaxTitleEntryLength, nullptr, kTitleLoad},
    {"quit", kMaxTitleEntryLength, nullptr, kTitleQuit},
    {"settings", kMaxTitleEntryLength, nullptr, kTitleSettings},
};

// What the line sets, or why it cannot be used.
std::string ReadLine(std::string_view key, std::string_view value, int line, TitleFile& out,
                     bool (&given)[std::size(kTitleKeys)]) {
    for (size_t k = 0; k < std::size(kTitleKeys); ++k) {
        const Key& known = kTitleKeys[k];
        if (key != known.name) continue;
        if (given[k]) return "\"" + std::string(key) + "\" is given twice";
        if (value.empty()) return "\"" + std::string(key) + "\" without a value";
        if (value.size() > known.limit)
            return "\"" + std::string(key) + "\" longer than " + std::to_string(known.limit) +
                   " bytes";
        if (known.field == &TitleFile::saveName && !IsUsableSaveName(value))
            return "save name \"" + std::string(value) +
                   "\" is not made of letters, digits, - _ . alone";
        given[k] = true;
        std::string& field = known.field ? out.*known.field : out.entries[size_t(known.entry)];
        field = std::string(value);
        if (known.field == &TitleFile::picture) out.pictureLine = line;
        if (known.field == &TitleFile::music) out.musicLine = line;
        return {};
    }
    return "unknown key \"" + std::string(key) + "\"";
}

}  // namespace

bool IsUsableSaveName(std::string_view name) {
    if (name.empty() || name.size() > kMaxSaveNameLength || name[0] == '.') return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!ok) return false;
    }
    return true;
}

TitleFile ParseTitleFile(std::string_view text) {
    TitleFile out;
    bool given[std::size(kTitleKeys)] = {};
    for (const ConfigLine& line : ReadConfigLines(text)) {
        const std::string why = ReadLine(line.key, line.value, line.number, out, given);
        if (!why.empty())
            out.problems.push_back("line " + std::to_string(line.number) + ": " + why);
    }
    return out;
}

const TitleFile* DataSetTitle() {
    return g_Title.get();
}

void ReadTitleFile() {
    g_Title.reset();
    const std::string path = std::string(GetBasePath()) + kTitleFilePath;
    if (!GameFileExists(path)) return;
    const FileRead file = ReadGameFile(path, kMaxTitleFileBytes, LongFile::kRefuse);
    if (file.Ok()) {
        CheckDataText(file.bytes, path);
        NameEmptyFile(file.bytes, path, "the title menu shows the engine's own texts");
        g_Title = std::make_unique<TitleFile>(ParseTitleFile(TextModeText(file.bytes)));
        return;
    }
    g_Title = std::make_unique<TitleFile>();
    g_Title->problems.push_back(file.status == FileStatus::kTooLong
                                    ? "longer than " + std::to_string(kMaxTitleFileBytes) + " bytes"
                                    : std::string("cannot be read"));
}
