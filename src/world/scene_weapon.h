#pragma once
#include "math/matrix44.h"
#include "math/quaternion.h"
#include "math/vector3.h"

struct Character;

// Where a character's weapon is, as this frame's pose left it: the weapon bone's orientation in
// the model and its position in the world. Weapon effects (the trail, the flash at the tip) are
// built from it, turned with the character.
struct WeaponPose {
    Quaternion rotation{0.0f, 0.0f, 0.0f, 1.0f};
    Vector3 position;
};

// The weapon bone's orientation, and its position through the character's world matrix. A
// character without a weapon bone holds its weapon unturned at its own position.
WeaponPose CurrentWeaponPose(const Character& c);
// World matrix of weapon space for a pose: the pose's orientation, then the character's
// rotation, then the pose's position.
void WeaponFrame(const Character& c, const WeaponPose& pose, Matrix44& out);
// A point of weapon space (the blade runs along y) in the world.
Vector3 WeaponPoint(const Character& c, const WeaponPose& pose, const Vector3& p);
