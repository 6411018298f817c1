#include "platform/exe_path.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

std::string ExecutableDirectory() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path().string();
    if (char* base = SDL_GetBasePath()) {
        std::string dir = base;
        SDL_free(base);
        while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
        return dir;
    }
    return std::filesystem::current_path(ec).string();
}
