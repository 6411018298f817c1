#include "world/scene_weapon.h"

#include "world/character.h"

WeaponPose CurrentWeaponPose(const Character& c) {
    WeaponPose pose;
    Matrix44 world;
    c.WorldMatrix(world);
    if (c.weaponBone) {
        pose.rotation = c.weaponBone->worldRotation;
        pose.position = c.weaponBone->worldPosition;
    }
    pose.position.Transform(world);
    return pose;
}

void WeaponFrame(const Character& c, const WeaponPose& pose, Matrix44& out) {
    Matrix44 turn, place;
    out.RotationQuaternion(pose.rotation);
    turn.RotationYawPitchRoll(c.rotation.y, c.rotation.x, c.rotation.z);
    out.Multiply(turn);
    place.Translation(pose.position);
    out.Multiply(place);
}

Vector3 WeaponPoint(const Character& c, const WeaponPose& pose, const Vector3& p) {
    Matrix44 frame;
    WeaponFrame(c, pose, frame);
    Vector3 out = p;
    out.Transform(frame);
    return out;
}
