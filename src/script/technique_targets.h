#pragma once
#include <cstdint>

// What the common commands' "A" and "M" operators read of the battle, which sits above the
// script layer: the fighter whose technique is playing and the fighter each one acts on. The
// battle installs the source; it answers false while no battle exists.
struct TechniqueTargets {
    int32_t actor = 0;
    const int32_t* target = nullptr;  // one per fighter
    int32_t fighterCount = 0;
};
using TechniqueTargetsSource = bool (*)(TechniqueTargets& out);
extern TechniqueTargetsSource g_TechniqueTargetsSource;
