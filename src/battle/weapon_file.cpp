#include "battle/weapon_file.h"

#include <string>

#include "base/game_file.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/character_text_reader.h"
#include "world/party.h"

namespace {

uint32_t Low8(int32_t v) {
    return static_cast<uint32_t>(v) & 0xFFu;
}

}  // namespace

bool ReadWeaponText(std::string_view text, int slot, const std::string& pathSjis, WeaponFile& out) {
    out = WeaponFile{};
    text = UpToCtrlZ(text);  // Ctrl-Z ends a text file
    // The first line as a 64-byte line read takes it: the line end goes, trailing blanks stay.
    // A longer name is cut and the rest of its line is passed over, so that the numbers below
    // are still read from their own lines.
    const size_t lineEnd = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, lineEnd);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.meshName = std::string(line.substr(0, kWeaponNameSize - 1));
    if (out.meshName == "NO" || slot != 0) return true;

    const std::string_view rest = lineEnd < text.size() ? text.substr(lineEnd + 1) : "";
    ItemReader in(rest, "LoadWeapon:", pathSjis);
    int32_t red = 0, green = 0, blue = 0, alpha = 0;
    if (!in.Read("軌跡の色", "%d,%d,%d,%d,\n", &red, &green, &blue, &alpha)) return false;
    out.hasTrail = true;
    out.trailColour = Low8(alpha) << 24 | Low8(red) << 16 | Low8(green) << 8 | Low8(blue);
    if (!in.Read("刃の長さ", "%f\n", &out.bladeLength)) return false;
    out.hasBlade = true;
    return true;
}

void LoadWeapon(int32_t fighter, int32_t slot) {
    if (fighter < 0 || fighter >= kFighterCount || !g_Fighters[fighter]) return;
    if (slot != kWeaponSlot && slot != kGuardSlot) return;
    const FighterRecord& record = *g_Fighters[fighter];
    const int32_t number = slot == kWeaponSlot ? record.weapon : record.guard;
    const std::string base = GetBasePath();
    const std::string rest = "Wea\\w-" + std::to_string(number) + ".qd";
    std::string text;
    if (!ReadGameTextFile(base + rest, text)) {
        RZ_MsgBox(SJIS("武器情報ファイルが見つかりません！"));
        return;
    }
    WeaponFile weapon;
    ReadWeaponText(text, slot, ToSjis(base) + rest, weapon);
    Character& c = g_Characters[fighter];
    if (weapon.meshName == "NO") {
        c.ReleaseEquipment(slot);
        return;
    }
    c.LoadEquipment(slot, weapon.meshName.c_str());
    if (weapon.hasTrail && g_pBattle) g_pBattle->trailColour[fighter] = weapon.trailColour;
    if (weapon.hasBlade) c.bladeLength = weapon.bladeLength;
}
