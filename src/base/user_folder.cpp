#include "base/user_folder.h"

#include <cstdlib>
#include <filesystem>

std::string UserFolder(const char* variable, const char* underHome) {
    namespace fs = std::filesystem;
    if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/')
        return (fs::path(xdg) / "gh02").string();
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) return {};
    return (fs::path(home) / underHome / "gh02").string();
}
