// The music list is a text file an author writes: any bytes must parse without harm, and every
// entry kept must be one the music player can use.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sound/bgm_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    BgmList list = ParseBgmList(text);
    if (list.entries.size() > kMaxBgmEntries) __builtin_trap();
    for (const BgmEntry& e : list.entries) {
        if (e.name.empty() || e.name.size() > kMaxBgmNameLength) __builtin_trap();
        if (e.file.empty() || e.file.size() > kMaxBgmFileLength) __builtin_trap();
        if (e.loopStart < 0 || e.loopEnd < 0) __builtin_trap();
        if (e.loop && e.loopEnd != 0 && e.loopEnd <= e.loopStart) __builtin_trap();
        if (FindBgm(list, e.name) == nullptr) __builtin_trap();
    }
    return 0;
}
