#include "save/save_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

using nlohmann::json;

std::string CompactBody(const json& body) {
    // Text that is not UTF-8 (game text is kept as it reads) is replaced rather than refused.
    return body.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A summary value of the expected type, or the default: the summary is only shown.
template <typename T>
T SummaryValue(const json& summary, const char* key, T fallback) {
    const auto it = summary.find(key);
    if (it == summary.end()) return fallback;
    if constexpr (std::is_same_v<T, std::string>) {
        return it->is_string() ? it->template get<std::string>() : fallback;
    } else {
        return it->is_number_integer() || it->is_number_unsigned() ? it->template get<T>()
                                                                   : fallback;
    }
}

SaveSummary ReadSummary(const json& j) {
    SaveSummary s;
    if (!j.is_object()) return s;
    s.fieldName = SummaryValue<std::string>(j, "field", "");
    s.leaderName = SummaryValue<std::string>(j, "leader", "");
    s.leaderHp = SummaryValue<int32_t>(j, "hp", 0);
    s.leaderMaxHp = SummaryValue<int32_t>(j, "maxHp", 0);
    s.playTimeMs = SummaryValue<uint64_t>(j, "playTimeMs", 0);
    s.savedAt = SummaryValue<std::string>(j, "savedAt", "");
    return s;
}

DecodedSave RefusedSave(std::string reason) {
    DecodedSave d;
    d.reason = std::move(reason);
    return d;
}

}  // namespace

std::string Crc32Hex(std::string_view text) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most a uInt at a time.
    while (!text.empty()) {
        const size_t n = text.size() < (1u << 30) ? text.size() : (1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), uInt(n));
        text.remove_prefix(n);
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08lx", static_cast<unsigned long>(crc & 0xFFFFFFFFul));
    return hex;
}

std::string EncodeSave(std::string_view game, const SaveSummary& summary, const json& body) {
    json j;
    j["format"] = kSaveFormatName;
    j["version"] = kSaveFormatVersion;
    j["game"] = std::string(game);
    j["checksum"] = Crc32Hex(CompactBody(body));
    j["summary"] = {{"field", summary.fieldName},       {"leader", summary.leaderName},
                    {"hp", summary.leaderHp},           {"maxHp", summary.leaderMaxHp},
                    {"playTimeMs", summary.playTimeMs}, {"savedAt", summary.savedAt}};
    j["body"] = body;
    return j.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

DecodedSave DecodeSave(std::string_view text, std::string_view game) {
    if (text.empty()) return RefusedSave("empty file");
    if (text.size() > kMaxSaveFileBytes) return RefusedSave("too long");
    json j = json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded()) return RefusedSave("not a save (broken or cut short)");
    if (!j.is_object() || j.value("format", json()) != kSaveFormatName)
        return RefusedSave("not a save");
    const json& version = j["version"];
    if (!version.is_number_integer()) return RefusedSave("no format version");
    if (version.get<int64_t>() > kSaveFormatVersion)
        return RefusedSave("made by a newer version (format " +
                           std::to_string(version.get<int64_t>()) + ")");
    if (version.get<int64_t>() < 1) return RefusedSave("unknown format version");
    const json& owner = j["game"];
    if (!owner.is_string()) return RefusedSave("names no game");
    if (owner.get<std::string>() != game)
        return RefusedSave("from another game (" + owner.get<std::string>() + ")");
    const json& checksum = j["checksum"];
    const json& body = j["body"];
    if (!body.is_object()) return RefusedSave("no game in it");
    if (!checksum.is_string() || checksum.get<std::string>() != Crc32Hex(CompactBody(body)))
        return RefusedSave("damaged (checksum does not match)");
    DecodedSave d;
    d.ok = true;
    d.summary = ReadSummary(j["summary"]);
    d.body = std::move(j["body"]);
    return d;
}

bool WriteFileAtomically(const std::string& nativePath, std::string_view bytes,
                         std::string& reason) {
    const std::string temp = nativePath + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        reason = std::string("cannot write ") + temp + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int writeErrno = errno;
    const bool flushed = written && std::fflush(f) == 0;
    const int flushErrno = errno;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed) {
        reason = std::string("cannot write ") + temp + ": " +
                 std::strerror(!written ? writeErrno : flushErrno);
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, nativePath, ec);
    if (ec) {
        reason = "cannot replace " + nativePath + ": " + ec.message();
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}
