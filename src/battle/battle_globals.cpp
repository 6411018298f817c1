#include "battle/battle.h"
#include "script/technique_targets.h"

std::unique_ptr<Battle> g_pBattle;

namespace {

bool BattleTechniqueTargets(TechniqueTargets& out) {
    if (!g_pBattle) return false;
    out.actor = g_pBattle->techniqueScript.actor;
    out.target = g_pBattle->target;
    out.fighterCount = kBattleFighterCount;
    return true;
}

// The script layer below reads the battle through this source; it is in place whenever the
// battle's globals are part of the program.
[[maybe_unused]] const bool kTechniqueTargetsInstalled =
    (g_TechniqueTargetsSource = BattleTechniqueTargets, true);

}  // namespace
