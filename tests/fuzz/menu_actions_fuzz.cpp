// The menu actions are a text file an author writes: any bytes must read without harm, and what
// is kept must be what the menu screen can act on. The first byte is the menu table's length.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/menu_actions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int32_t entries = int32_t(data[0] % 10) - 1;
    const MenuActions a = ParseMenuActions(
        std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), entries);
    for (int32_t e = 0; e < kMenuEntryCount; ++e) {
        const MenuEntryAction& x = a.entries[size_t(e)];
        if (x.action != MenuAction::kNone && e >= entries) __builtin_trap();  // off the menu
        if ((x.action == MenuAction::kScript) == x.label.empty()) __builtin_trap();
        if (x.label.size() > kMaxMenuLabelLength || x.label.find("//") != std::string::npos)
            __builtin_trap();
    }
    if (a.problems.size() > size) __builtin_trap();  // at most one a line
    return 0;
}
