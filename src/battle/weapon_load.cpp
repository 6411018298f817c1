// Equipping a fighter for a battle from its weapon file (world/weapon_data.h reads it).
#include "base/diagnostics.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/party.h"
#include "world/weapon_data.h"

void LoadWeapon(int32_t fighter, int32_t slot) {
    if (fighter < 0 || fighter >= kFighterCount || !g_Fighters[fighter]) return;
    if (slot != kWeaponSlot && slot != kGuardSlot) return;
    const FighterRecord& record = *g_Fighters[fighter];
    WeaponFile weapon;
    if (!ReadWeaponFile(slot == kWeaponSlot ? record.weapon : record.guard, slot, weapon)) {
        RZ_MsgBox(SJIS("武器情報ファイルが見つかりません！"),
                  "the weapon file Wea/w-" +
                      std::to_string(slot == kWeaponSlot ? record.weapon : record.guard) +
                      ".qd cannot be read");
        return;
    }
    Character& c = g_Characters[fighter];
    if (weapon.meshName == "NO") {
        c.ReleaseEquipment(slot);
        return;
    }
    c.LoadEquipment(slot, weapon.meshName.c_str());
    if (weapon.hasTrail && g_pBattle) g_pBattle->trailColour[fighter] = weapon.trailColour;
    if (weapon.hasBlade) c.bladeLength = weapon.bladeLength;
}
