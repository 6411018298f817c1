#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/x_mesh_holder.h"
#include "math/matrix44.h"
#include "math/vector3.h"
#include "model/rz_model.h"

constexpr int kCharacterCount = 20;
constexpr int kCharacterFileNameSize = 64;

// motionFlags: 0 stops the animation.
constexpr uint32_t kMotionPlaying = 1;
constexpr uint32_t kMotionLooping = 2;
// Motion data runs at 125 frames a second whatever the display rate.
constexpr uint32_t kAnimationStepMs = 8;

// Animation slots the game plays by number.
constexpr int32_t kMotionStand = 0;
constexpr int32_t kMotionWalk = 1;
constexpr int32_t kMotionBattleStance = 3;
constexpr int32_t kMotionLowHpStance = 4;
constexpr int32_t kMotionDown = 5;
constexpr int32_t kMotionRun = 6;
constexpr int32_t kMotionHit = 10;
constexpr int32_t kMotionVictory = 11;

// Equipment slots.
constexpr int kWeaponSlot = 0;
constexpr int kGuardSlot = 1;

// Anything that stands and moves in the world: the leader on the field, people to talk to,
// fighters in battle. A skinned model with its placement, motion state, two optional equipment
// meshes hung on bones and a collision square.
struct Character {
    int32_t active = 0;        // 0: free slot, not drawn, collided with or spoken to
    int32_t queuedMotion = 0;  // motion + 1 to start when the current one ends; 0 none
    int32_t queuedLoop = 0;
    uint32_t motionFlags = 0;  // kMotionPlaying | kMotionLooping, 0 stopped
    RZ_Model model;
    char fileName[kCharacterFileNameSize] = {};  // the character file it came from
    int32_t motionDirection = 1;                 // +1 forward, -1 backward (ping-pong loops)
    uint32_t motionClock = 0;                    // milliseconds toward the next step
    float collisionSize = 0.0f;                  // side of the collision square
    float fileValue = 0.0f;                      // third number of the character file; unused
    float bladeLength = 0.0f;                    // weapon tip along the weapon bone's y axis
    Vector3 position;
    Vector3 rotation;  // radians: y facing, x pitch, z roll
    Vector3 scale{1.0f, 1.0f, 1.0f};
    std::unique_ptr<XMeshHolder> weaponMesh;  // equipment slot 0; owned
    std::unique_ptr<XMeshHolder> guardMesh;   // equipment slot 1; owned, never drawn
    // Bones of `model` (null when the model has none of that name); cleared whenever the model
    // is emptied, so they never outlive the bones they name.
    RZ_Bone* weaponBone = nullptr;  // "wea_b"
    RZ_Bone* guardBone = nullptr;   // "gua_b"
    RZ_Bone* headBone = nullptr;    // "head_b"

    // Loads "<base>chara\<name>.qd" and the model it names from the chara folder; the slot
    // becomes active. A missing or damaged file is reported and leaves the model empty and
    // `active` as it was; a missing bone is reported and its reference stays null.
    void LoadCharacter(const char* name);
    // From step 4 of loading on: the character file's text (pathSjis only for the report).
    // False when the file's items could not be read.
    bool LoadCharacterText(std::string_view text, const std::string& pathSjis);

    // Starts a motion from its first frame, forward; loop 1 plays it back and forth.
    void SetMotion(int32_t motion, int32_t loop);
    // The motion to start, with its own loop flag, when the current one ends.
    void QueueMotion(int32_t motion, int32_t loop);
    // Drops every animation whose name agrees with the prefix at no position of the prefix's
    // length; one shared byte keeps it (so "btl_..." survives "fld_" through the '_', as the
    // data expects; an empty prefix drops all). Positions past the end of a name match nothing.
    void KeepMotionsWithPrefix(const char* prefix);
    // A new holder in slot 0 (weapon) or 1 (guard) with "<base>wea\<meshName>.x"; what the
    // slot held is released first. Other slots are ignored.
    void LoadEquipment(int slot, const char* meshName);
    // Releases and destroys the slot's holder, if any.
    void ReleaseEquipment(int slot);
    // Empties the model of an active slot and releases the equipment meshes (the holders stay).
    void Release();
    // Scaling(scale) x RotationYawPitchRoll(rotation.y, rotation.x, rotation.z) x
    // Translation(position): points are row vectors, so the scale applies first.
    void WorldMatrix(Matrix44& out) const;
    // Releases the model's textures and frees its content; forgets the bone references.
    void EmptyModel();
};

extern Character g_Characters[kCharacterCount];

// One frame's animation step of an active character (the scene drawing runs it before drawing
// the model): whole 8-millisecond steps once more than 8 ms have gathered, the remainder
// dropped; at the end of a motion a looping one turns round and a queued one starts.
void AnimateCharacter(Character& c, uint32_t frameTimeMs);

// Every slot free, without model or equipment, back to its first values.
void ResetCharacters();
// Shutdown on Escape: the model of every active character is freed; the records stay.
void DestroyCharacterModels();

// Height of the head bone in world space, 0 without one (speaker placement, camera targets).
inline float HeadHeight(const Character& c) {
    return c.headBone ? c.headBone->worldPosition.y : 0.0f;
}
