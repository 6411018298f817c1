// XDG_DATA_DIRS comes from the environment: any bytes must give absolute folders, each once.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/data_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dirs(reinterpret_cast<const char*>(data), size);
    const DataSearch s = FindDataDirectory("", "/opt/gh02/bin", dirs.c_str(),
                                           [](const std::string&) { return false; });
    for (size_t i = 0; i < s.searched.size(); ++i) {
        if (s.searched[i].empty() || s.searched[i][0] != '/') std::abort();
        if (std::count(s.searched.begin(), s.searched.end(), s.searched[i]) != 1) std::abort();
    }
    if (!s.dir.empty() || SearchedFolders(s).empty()) std::abort();
    return 0;
}
