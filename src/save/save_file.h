#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// A saved game on disk: one JSON object that says what it is before it says anything else.
//
//   {"format": "gh02-save", "version": 1, "game": "<the data set's save name>",
//    "checksum": "<CRC-32 of the body, 8 hex digits>",
//    "summary": {...what the slot list shows...}, "body": {...the game...}}
//
// The checksum covers the body as the engine writes it (nlohmann's compact dump, keys sorted),
// so any change to a value is caught; the summary is only shown, never loaded.

constexpr const char* kSaveFormatName = "gh02-save";
constexpr int32_t kSaveFormatVersion = 1;
// A save file is refused when it is longer than this.
constexpr size_t kMaxSaveFileBytes = 8u << 20;

// What the slot list shows of a save.
struct SaveSummary {
    std::string fieldName;   // UTF-8
    std::string leaderName;  // UTF-8
    int32_t leaderHp = 0;
    int32_t leaderMaxHp = 0;
    uint64_t playTimeMs = 0;
    std::string savedAt;  // local date and time, "YYYY-MM-DD HH:MM"
};

// The whole file's text for a body and its summary.
std::string EncodeSave(std::string_view game, const SaveSummary& summary,
                       const nlohmann::json& body);

struct DecodedSave {
    bool ok = false;
    std::string reason;  // why it cannot be loaded, in a few words; empty when ok
    SaveSummary summary;
    nlohmann::json body;
};

// Reads a save file's text. A save that is not JSON, not a save, from another game, from a
// newer version, or whose body does not match its checksum comes back with its reason and no
// body; nothing in it is trusted until all of that was checked.
DecodedSave DecodeSave(std::string_view text, std::string_view game);

// Writes the bytes to `nativePath` so that the file is either the old one or the whole new one:
// a temporary file beside it is written, flushed and closed, then renamed over it. False with a
// reason (the old file untouched) when any step fails.
bool WriteFileAtomically(const std::string& nativePath, std::string_view bytes,
                         std::string& reason);

// CRC-32 (as zlib computes it) of the text, as 8 lower-case hex digits.
std::string Crc32Hex(std::string_view text);
