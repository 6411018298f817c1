// Weapon files come from authors and modders: any text must give a mesh name that fits a line
// read, and a damage must be reported at most once. The first byte picks the equipment slot.
#include <string_view>

#include "fuzz_common.h"
#include "world/weapon_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), true);
    (void)init;
    const fuzz::FreshRun fresh;
    if (size == 0) return 0;
    const int slot = data[0] & 1;
    WeaponFile w;
    const bool complete = ReadWeaponText(
        std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), slot, "fuzz", w);
    fuzz::Check(g_MessageBoxLog.size() == (complete ? 0u : 1u), "reported other than once");
    fuzz::Check(w.meshName.size() < kWeaponNameSize, "mesh name too long");
    fuzz::Check(w.meshName.find('\n') == std::string::npos, "line end in the mesh name");
    fuzz::Check(slot == 0 || (!w.hasTrail && !w.hasBlade), "guard with a blade");
    return 0;
}
