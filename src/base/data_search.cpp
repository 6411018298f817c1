#include "base/data_search.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultDataDirs = "/usr/local/share:/usr/share";

std::string Normal(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

}  // namespace

DataSearch FindDataDirectory(const std::string& given, const std::string& executableDir,
                             const char* xdgDataDirs,
                             const std::function<bool(const std::string&)>& holdsGame) {
    DataSearch search;
    if (!given.empty()) {
        // As given, made absolute but not tidied: a data set without a save name of its own
        // keeps its saves under a name made from this path.
        std::error_code ec;
        const fs::path absolute = fs::absolute(given, ec);
        search.dir = ec ? given : absolute.string();
        return search;
    }
    std::vector<std::string> candidates;
    if (!executableDir.empty()) {
        candidates.push_back(executableDir);
        candidates.push_back(Normal(fs::path(executableDir) / ".." / "share" / "gh02"));
    }
    std::string_view dirs = xdgDataDirs && *xdgDataDirs ? xdgDataDirs : kDefaultDataDirs;
    while (!dirs.empty()) {
        const size_t colon = std::min(dirs.find(':'), dirs.size());
        const std::string_view entry = dirs.substr(0, colon);
        if (!entry.empty() && entry[0] == '/')
            candidates.push_back(Normal(fs::path(entry) / "gh02"));
        dirs.remove_prefix(std::min(colon + 1, dirs.size()));
    }
    for (const std::string& dir : candidates) {
        if (std::find(search.searched.begin(), search.searched.end(), dir) != search.searched.end())
            continue;
        search.searched.push_back(dir);
        if (holdsGame(dir)) {
            search.dir = dir;
            break;
        }
    }
    return search;
}

std::string SearchedFolders(const DataSearch& search) {
    std::string text;
    const size_t n = search.searched.size();
    for (size_t i = 0; i < n; ++i)
        text += (i == 0 ? "" : i + 1 == n ? " or " : ", ") + search.searched[i];
    return text;
}
