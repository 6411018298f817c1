#include "base/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/paths.h"
#include "base/report_once.h"
#include "base/sjis.h"
#include "base/user_folder.h"

namespace fs = std::filesystem;

namespace {

struct Channel {
    std::string path = DefaultLogPath();
    std::FILE* file = nullptr;
    bool tried = false;  // the file was opened, or could not be
    bool verbose = false;
    bool faultsShown = true;
    std::deque<std::string> faults;  // the oldest leaves first, at no cost per line
    PlaceFinder finder = nullptr;

    ~Channel() { Close(); }
    void Close() {
        if (file) std::fclose(file);
        file = nullptr;
        tried = false;
    }
    // Opens the log on its first line; a log that cannot be opened is given up for the run.
    void Write(std::string_view line) {
        if (!tried && !path.empty()) {
            tried = true;
            std::error_code ec;
            const fs::path p(path);
            if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
            if (fs::file_size(p, ec) > kMaxLogBytes && !ec) fs::rename(p, path + ".1", ec);
            file = std::fopen(path.c_str(), "a");
        }
        if (!file) return;
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fflush(file);
    }
};

Channel& TheChannel() {
    static Channel channel;
    return channel;
}

void ToStandardError(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

void Diagnose(const std::string& file, int line, int column, std::string_view english,
              std::string_view gameText) {
    std::string text = file.empty() ? std::string("gh02") : file;
    if (!file.empty() && line > 0) {
        text += ":" + std::to_string(line);
        if (column > 0) text += ":" + std::to_string(column);
    }
    text += ": ";
    text += english;
    if (!gameText.empty()) {
        std::string shown(gameText);
        std::replace(shown.begin(), shown.end(), '\n', ' ');
        text += " (the game says: " + shown + ")";
    }
    Channel& c = TheChannel();
    c.Write(text);
    if (c.faultsShown) ToStandardError(text);
    if (c.faults.size() >= 1000) c.faults.pop_front();
    c.faults.push_back(std::move(text));
}

void Diagnose(const SourcePlace& at, std::string_view english, std::string_view gameText) {
    Diagnose(at.file, at.line, at.column, english, gameText);
}

bool DiagnoseOnce(const SourcePlace& at, std::string_view english) {
    // Bounded, so that a flood of distinct faults cannot grow it without end.
    static ReportOnce said(10000);
    const std::string key = at.file + ":" + std::to_string(at.line) + ":" +
                            std::to_string(at.column) + ": " + std::string(english);
    if (!said.First(key)) return false;
    Diagnose(at, english);
    return true;
}

void LogProgress(std::string_view line) {
    Channel& c = TheChannel();
    c.Write(line);
    if (c.verbose) ToStandardError(line);
}

SourcePlace RunningPlace() {
    PlaceFinder finder = TheChannel().finder;
    return finder ? finder() : SourcePlace{};
}

PlaceFinder SetPlaceFinder(PlaceFinder finder) {
    return std::exchange(TheChannel().finder, finder);
}

SourcePlace PlaceInText(std::string_view text, size_t offset, std::string file) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    SourcePlace at{std::move(file), 1, 1};
    at.line += int(std::count(before.begin(), before.end(), '\n'));
    const size_t lineStart = before.rfind('\n');
    at.column = int(offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1)) + 1;
    return at;
}

std::string ShownPath(std::string_view sjisPath) {
    const std::string base = DataDirectory() + "\\";
    std::string shown = sjisPath.substr(0, base.size()) == base
                            ? ToUtf8(sjisPath.substr(base.size()))
                            : ToUtf8(sjisPath);
    std::replace(shown.begin(), shown.end(), '\\', '/');
    return shown;
}

std::string DefaultLogPath() {
    if (const char* forced = std::getenv("GH02_LOG")) return forced;
    const std::string folder = UserFolder("XDG_STATE_HOME", ".local/state");
    if (folder.empty()) return {};
    return (fs::path(folder) / "gh02.log").string();
}

void SetLogFile(const std::string& path) {
    Channel& c = TheChannel();
    c.Close();
    c.path = path;
}

void SetVerbose(bool verbose) {
    TheChannel().verbose = verbose;
}

void SetFaultsOnStandardError(bool shown) {
    TheChannel().faultsShown = shown;
}

const std::deque<std::string>& DiagnosedFaults() {
    return TheChannel().faults;
}

void ClearDiagnosedFaults() {
    TheChannel().faults.clear();
}
