// A settings file is written by the player or the game: any bytes must read without harm, every
// value taken must be one the game can use, and what the game writes back must read again as
// the same settings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace {

bool Usable(const Settings& s) {
    if (s.musicVolume < 0 || s.musicVolume > 100 || s.effectVolume < 0 || s.effectVolume > 100)
        return false;
    auto side = [](int32_t v, int32_t low) { return v == 0 || (v >= low && v <= kMaxWindowSide); };
    if (!side(s.windowWidth, kMinWindowWidth) || !side(s.windowHeight, kMinWindowHeight))
        return false;
    for (const KeyBinding& b : s.keys.keys)
        for (int code : b.keys)
            if (code && KeyboardKeyName(code).empty()) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Settings s;
    std::vector<std::string> problems;
    if (!ParseSettings(text, s, problems)) return 0;
    if (!Usable(s)) __builtin_trap();
    const std::string written = FormatSettings(s, text);
    Settings again;
    problems.clear();
    if (!ParseSettings(written, again, problems) || !problems.empty() || !(again == s))
        __builtin_trap();
    return 0;
}
