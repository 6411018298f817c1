#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The weapon file "Wea\w-<n>.qd" (LoadWeapon in battle.h equips a fighter with it).

// The mesh name is cut to what a 64-byte line read holds.
constexpr size_t kWeaponNameSize = 64;

struct WeaponFile {
    std::string meshName;      // the first line without its line end; "NO" for none
    bool hasTrail = false;     // the trail colour was read
    uint32_t trailColour = 0;  // ARGB from the file's red, green, blue, alpha (low 8 bits each)
    bool hasBlade = false;     // the blade length was read
    float bladeLength = 0.0f;
};

// Reads the file's text for equipment slot `slot` (only slot 0 has the trail colour and blade
// length; pathSjis only for the report). A damaged text is reported once and keeps what was
// read before the damage; false then.
bool ReadWeaponText(std::string_view text, int slot, const std::string& pathSjis, WeaponFile& out);
