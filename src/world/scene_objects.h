#pragma once
#include <cstdint>

struct FieldObject;

// How a field object is drawn, by its kind.
enum FieldObjectKind : int32_t {
    kObjectHidden = 0,
    kObjectMesh = 1,
    kObjectRing = 2,
    kObjectCrystal = 3,
    kObjectCrystalCircle = 4,
    kObjectWeaponFlash = 5,
};

// One field object by its kind. A mesh object without a loaded mesh and a weapon flash for a
// character outside 0-19 draw nothing; an unknown kind draws nothing and says so once per
// object and kind (not every frame).
void DrawFieldObject(const FieldObject& o);
// Forgets which unknown kinds were reported (the world reset, tests).
void ResetFieldObjectReports();

// The battle: sky, characters, then field objects 0-9 (object 0 is the battle ground mesh).
void DrawBattleScene();
