#pragma once
// Where a benchmark finds what it runs: the build directory it was built in and the repository.
#include <unistd.h>

#include <filesystem>

// The build directory: this program lies in its bench/ directory.
inline std::filesystem::path BuildDir() {
    char exe[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return n > 0 ? std::filesystem::path(exe).parent_path().parent_path()
                 : std::filesystem::current_path();
}

// The repository: this file lies in its bench/ directory; a relative name is relative to the
// build directory, where the compiler ran.
inline std::filesystem::path SourceDir() {
    std::filesystem::path file(__FILE__);
    if (file.is_relative()) file = BuildDir() / file;
    return std::filesystem::weakly_canonical(file).parent_path().parent_path();
}
