#include "base/game_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/diagnostics.h"
#include "base/paths.h"

namespace fs = std::filesystem;

namespace {

FileRead Failed(FileStatus status, uint64_t size = 0) {
    FileRead r;
    r.status = status;
    r.size = size;
    return r;
}

}  // namespace

FileRead ReadNativeFile(const std::string& nativePath, size_t limit, LongFile longer) {
    std::error_code ec;
    if (fs::is_directory(nativePath, ec)) return Failed(FileStatus::kDirectory);
    FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return Failed(missing ? FileStatus::kMissing : FileStatus::kUnreadable);
    }
    FileRead r;
    const uintmax_t length = fs::file_size(nativePath, ec);
    if (!ec) r.size = length;
    if (r.size > limit && longer == LongFile::kRefuse) {
        std::fclose(f);
        return Failed(FileStatus::kTooLong, r.size);
    }
    if (r.size > 0) r.bytes.reserve(size_t(std::min<uint64_t>(r.size, limit)));
    char chunk[65536];
    bool cut = false;
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        if (got > limit - r.bytes.size()) {
            r.bytes.append(chunk, limit - r.bytes.size());
            cut = true;
            break;
        }
        r.bytes.append(chunk, got);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    r.size = std::max<uint64_t>(r.size, r.bytes.size() + (cut ? 1 : 0));
    if (failed) return Failed(FileStatus::kReadError, r.size);
    if (cut && longer == LongFile::kRefuse) return Failed(FileStatus::kTooLong, r.size);
    r.status = FileStatus::kRead;
    return r;
}

FileRead ReadGameFile(std::string_view sjisPath, size_t limit, LongFile longer) {
    const std::string native = ResolveGamePath(sjisPath);
    if (native.empty()) return Failed(FileStatus::kMissing);
    return ReadNativeFile(native, limit, longer);
}

std::string_view UpToCtrlZ(std::string_view raw) {
    return raw.substr(0, raw.find('\x1A'));
}

std::string TextModeText(std::string_view raw) {
    raw = UpToCtrlZ(raw);
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i)
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) text.push_back(raw[i]);
    return text;
}

bool CheckDataText(std::string_view text, std::string_view sjisPath, int firstLine) {
    text = UpToCtrlZ(text);
    const auto say = [&](size_t offset, std::string_view english) {
        SourcePlace at = PlaceInText(text, offset, ShownPath(sjisPath));
        at.line += firstLine - 1;
        DiagnoseOnce(at, english);
    };
    bool clean = true;
    const auto control = std::find_if(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
    if (control != text.end()) {
        char what[64];
        std::snprintf(what, sizeof what, "a control byte 0x%02X: is the file damaged?",
                      unsigned(static_cast<unsigned char>(*control)));
        say(size_t(control - text.begin()), what);
        clean = false;
    }
    // Some formats end their lines with a carriage return alone.
    if (text.empty() || text.back() == '\n' || text.back() == '\r') return clean;
    const size_t lastLine = text.find_last_of("\r\n") + 1;  // 0 when there is one line
    say(lastLine, "the file ends inside this line, without its line end: is it cut short?");
    return false;
}
