#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The weapon file "Wea\w-<n>.qd": the weapon's mesh, the colour of its trail and the length of
// its blade (LoadWeapon in battle/battle.h equips a fighter with it), and, on a fourth line that
// the game's own files do not have, the name the menus show.

// The mesh name is cut to what a 64-byte line read holds.
constexpr size_t kWeaponNameSize = 64;
// A weapon's shown name holds at most this many bytes (the goods table's names hold 20).
constexpr size_t kWeaponShownNameBytes = 20;

struct WeaponFile {
    std::string meshName;      // the first line without its line end; "NO" for none
    bool hasTrail = false;     // the trail colour was read
    uint32_t trailColour = 0;  // ARGB from the file's red, green, blue, alpha (low 8 bits each)
    bool hasBlade = false;     // the blade length was read
    float bladeLength = 0.0f;
    std::string name;  // the fourth line (blanks around it removed, cut to 20 bytes); may be empty
};

// Reads the file's text for equipment slot `slot` (only slot 0 has the trail colour and blade
// length; pathSjis only for the report). A damaged text is reported once and keeps what was
// read before the damage; false then.
bool ReadWeaponText(std::string_view text, int slot, const std::string& pathSjis, WeaponFile& out);
// Reads weapon file `number` for equipment slot `slot`; false, with nothing said, when there is
// no such file (a damaged one is reported as above).
bool ReadWeaponFile(int32_t number, int slot, WeaponFile& out);
// How the menus name weapon `number`: its file's name line, else its mesh name, "なし" for a
// file that names no mesh, "w-<n>?" when there is no file.
std::string WeaponShownName(int32_t number);
