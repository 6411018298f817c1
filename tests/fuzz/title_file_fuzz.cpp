// The title file is a text file an author writes: any bytes must read without harm, and what is
// kept must be what the title menu and the save folder can use.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/title_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TitleFile t = ParseTitleFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!t.saveName.empty() && !IsUsableSaveName(t.saveName)) __builtin_trap();
    if (t.picture.size() > kMaxTitlePathLength || t.music.size() > kMaxTitleMusicLength)
        __builtin_trap();
    for (const std::string& e : t.entries)
        if (e.size() > kMaxTitleEntryLength) __builtin_trap();
    if (t.problems.size() > size) __builtin_trap();  // at most one a line
    return 0;
}
