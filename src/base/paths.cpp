#include "base/paths.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/host.h"
#include "base/report_once.h"
#include "base/sjis.h"

namespace fs = std::filesystem;

char g_BasePath[kBasePathSize];
int32_t g_BasePathLen = 0;

namespace {

std::string g_DataDir;  // empty: the executable's directory
std::map<std::string, std::map<std::string, std::string>> g_DirCache;
// Paths that matched nothing, logged once each.
ReportOnce g_Unmatched(10000);
thread_local int g_ExpectedMissing = 0;

const std::map<std::string, std::string>& Listing(const std::string& dir, bool refresh) {
    auto it = g_DirCache.find(dir);
    if (it != g_DirCache.end() && !refresh) return it->second;
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (fs::directory_iterator d(dir.empty() ? "." : dir, ec), end; !ec && d != end;
         d.increment(ec)) {
        std::string name = d->path().filename().string();
        names.emplace(AsciiLower(name), name);  // the first of two names differing in case wins
    }
    return g_DirCache[dir] = std::move(names);
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// Looks one component up in dir; empty when absent.
std::string Match(const std::string& dir, const std::string& name) {
    std::error_code ec;
    std::string exact = Join(dir, name);
    if (fs::exists(exact, ec)) return exact;
    for (bool refresh : {false, true}) {
        const auto& names = Listing(dir, refresh);
        auto it = names.find(AsciiLower(name));
        if (it != names.end()) return Join(dir, it->second);
    }
    return {};
}

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

// Resolves every component; with allowMissingLast the last one may not exist yet.
std::string Walk(std::string root, const std::string& utf8Rest, bool allowMissingLast) {
    std::vector<std::string> parts = Split(utf8Rest);
    std::string cur = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& p = parts[i];
        if (p == ".") continue;
        if (p == "..") {
            cur = Join(cur.empty() ? "." : cur, "..");
            continue;
        }
        std::string next = Match(cur, p);
        if (next.empty()) {
            if (allowMissingLast && i + 1 == parts.size()) return Join(cur, p);
            return {};
        }
        cur = next;
    }
    return cur;
}

std::string ResolveImpl(std::string_view sjisPath, bool allowMissingLast) {
    const std::string& dataDir = DataDirectory();
    std::string base = dataDir + "\\";
    std::string root, rest;
    if (!dataDir.empty() && sjisPath.substr(0, base.size()) == base) {
        root = dataDir;
        rest = ToUtf8(sjisPath.substr(base.size()));
    } else if (!sjisPath.empty() && sjisPath[0] == '/') {
        // A native absolute path, such as one picked in the file dialog.
        std::error_code ec;
        if (fs::exists(fs::path(std::string(sjisPath)), ec)) return std::string(sjisPath);
        root = "/";
        rest = ToUtf8(sjisPath);
    } else {
        rest = ToUtf8(sjisPath);
    }
    return Walk(root, rest, allowMissingLast);
}

}  // namespace

std::string CutToBasePath(std::string_view modulePath) {
    size_t cut = modulePath.find_last_of("\\/");
    if (cut == std::string_view::npos) return {};
    return std::string(modulePath.substr(0, cut + 1));
}

void SetDataDirectory(const std::string& nativeDir) {
    g_DataDir = nativeDir;
    while (g_DataDir.size() > 1 && g_DataDir.back() == '/') g_DataDir.pop_back();
    ClearPathCache();
}

const std::string& DataDirectory() {
    return g_DataDir.empty() ? g_Host.executableDir : g_DataDir;
}

const char* GetBasePath() {
    std::string base = DataDirectory() + "\\";
    if (base.size() >= kBasePathSize) base.resize(kBasePathSize - 1);
    std::memcpy(g_BasePath, base.c_str(), base.size() + 1);
    g_BasePathLen = static_cast<int32_t>(base.size());
    return g_BasePath;
}

std::string ResolveGamePath(std::string_view sjisPath) {
    std::string found = ResolveImpl(sjisPath, false);
    if (found.empty() && g_ExpectedMissing == 0) {
        if (g_Unmatched.First(std::string(sjisPath)))
            Diagnose(RunningPlace(), "no file matches " + ShownPath(sjisPath));
    }
    return found;
}

bool GameFileExists(std::string_view sjisPath) {
    return !ResolveImpl(sjisPath, false).empty();
}

FILE* OpenGameFile(std::string_view sjisPath, const char* mode) {
    bool writing = mode && (std::strchr(mode, 'w') || std::strchr(mode, 'a'));
    std::string native = writing ? ResolveImpl(sjisPath, true) : ResolveGamePath(sjisPath);
    if (native.empty()) return nullptr;
    std::error_code ec;
    if (!writing && fs::is_directory(native, ec)) return nullptr;
    FILE* f = std::fopen(native.c_str(), mode);
    if (f && writing) g_DirCache.clear();
    return f;
}

ExpectedMissing::ExpectedMissing(bool expected) : expected_(expected) {
    if (expected_) ++g_ExpectedMissing;
}

ExpectedMissing::~ExpectedMissing() {
    if (expected_) --g_ExpectedMissing;
}

void ClearPathCache() {
    g_DirCache.clear();
    g_Unmatched.Reset();
}
