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
        // 0x7F (DEL) is no Shift-JIS trail byte either: it stands alone wherever it is.
        const unsigned char u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7F;
    });
    if (control != text.end()) {
        char what[64];
        std::snprintf(what, sizeof what, "a control byte 0x%02X: is the file damaged?",
                      unsigned(static_cast<unsigned char>(*control)));
        say(size_t(control - text.begin()), what);
        clean = false;
    }
    // Some formats end their lines with a carriage return alone; in a text whose lines end with
    // a line feed, or a single line, a carriage return at the end is a line end cut in two.
    const bool crLines =
        text.find('\n') == std::string_view::npos && text.find('\r') < text.size() - 1;
    if (text.empty() || text.back() == '\n' || (text.back() == '\r' && crLines)) return clean;
    if (text.back() == '\r') {
        say(text.find_last_of('\n') + 1,
            "the file ends with a carriage return without its line feed: is it cut short?");
        return false;
    }
    const size_t lastLine = text.find_last_of("\r\n") + 1;  // 0 when there is one line
    say(lastLine, "the file ends inside this line, without its line end: is it cut short?");
    return false;
}

bool NameEmptyFile(std::string_view raw, std::string_view sjisPath, std::string_view without) {
    const std::string_view text = UpToCtrlZ(raw);
    if (text.find_first_not_of(" \t\r\n") != std::string_view::npos) return false;
    DiagnoseOnce(SourcePlace{ShownPath(sjisPath)}, "the file is empty: " + std::string(without));
    return true;
}
