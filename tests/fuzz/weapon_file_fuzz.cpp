// Weapon files come from authors and modders: any text must give a mesh name that fits a line
// read, and a damage must be reported at most once. The first byte picks the equipment slot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/host.h"
#include "app/message_box.h"
#include "app/null_host.h"
#include "battle/weapon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    g_Host.dialogs = &dialogs;
    g_MessageBoxLog.clear();
    if (size == 0) return 0;
    const int slot = data[0] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    WeaponFile w;
    const bool complete = ReadWeaponText(text, slot, "fuzz", w);
    if (g_MessageBoxLog.size() != (complete ? 0u : 1u)) std::abort();
    if (w.meshName.size() >= kWeaponNameSize) std::abort();
    if (w.meshName.find('\n') != std::string::npos) std::abort();
    if (slot == 1 && (w.hasTrail || w.hasBlade)) std::abort();
    return 0;
}
