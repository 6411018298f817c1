#include "world/character.h"

#include <cstring>

Character g_Characters[kCharacterCount];

namespace {

std::unique_ptr<XMeshHolder>* EquipmentSlot(Character& c, int slot) {
    if (slot == kWeaponSlot) return &c.weaponMesh;
    if (slot == kGuardSlot) return &c.guardMesh;
    return nullptr;
}

}  // namespace

void Character::SetMotion(int32_t motion, int32_t loop) {
    model.SetCurrentAnimation(static_cast<uint32_t>(motion));
    motionFlags = static_cast<uint32_t>(loop) * 2u + 1u;
    model.ResetAnimation();
    motionDirection = 1;
}

void Character::QueueMotion(int32_t motion, int32_t loop) {
    queuedMotion = static_cast<int32_t>(static_cast<uint32_t>(motion) + 1u);
    queuedLoop = loop;
}

void Character::KeepMotionsWithPrefix(const char* prefix) {
    const size_t length = prefix ? std::strlen(prefix) : 0;
    for (uint32_t a = 0; a < kRzMaxAnimations; ++a) {
        if (!model.HasAnimation(a)) continue;
        const char* name = model.GetAnimationName(a);
        const size_t nameLength = name ? std::strlen(name) : 0;
        bool shared = false;
        for (size_t i = 0; i < length && i < nameLength && !shared; ++i)
            shared = name[i] == prefix[i];
        if (!shared) model.DeleteAnimation(a);
    }
}

void Character::LoadEquipment(int slot, const char* meshName) {
    std::unique_ptr<XMeshHolder>* holder = EquipmentSlot(*this, slot);
    if (!holder) return;
    // A holder already in the slot would otherwise keep its textures for the rest of the run.
    ReleaseEquipment(slot);
    *holder = std::make_unique<XMeshHolder>();
    (*holder)->load(meshName ? meshName : "", "wea\\");
}

void Character::ReleaseEquipment(int slot) {
    std::unique_ptr<XMeshHolder>* holder = EquipmentSlot(*this, slot);
    if (!holder || !*holder) return;
    (*holder)->release();
    holder->reset();
}

void Character::Release() {
    if (active) EmptyModel();
    if (weaponMesh) weaponMesh->release();
    if (guardMesh) guardMesh->release();
}

void Character::WorldMatrix(Matrix44& out) const {
    Matrix44 s, r, t;
    s.Scaling(scale);
    r.RotationYawPitchRoll(rotation.y, rotation.x, rotation.z);
    t.Translation(position);
    Matrix44::Product(out, s, r);
    Matrix44::Product(out, out, t);
}

void Character::EmptyModel() {
    model.ReleaseTextures();
    model.Reset();
    weaponBone = guardBone = headBone = nullptr;
}

void ResetCharacters() {
    for (Character& c : g_Characters) {
        c.ReleaseEquipment(kWeaponSlot);
        c.ReleaseEquipment(kGuardSlot);
        c.EmptyModel();
        c.model.SetDirectory("");
        c.active = 0;
        c.queuedMotion = c.queuedLoop = 0;
        c.motionFlags = 0;
        std::memset(c.fileName, 0, sizeof c.fileName);
        c.motionDirection = 1;
        c.motionClock = 0;
        c.collisionSize = c.fileValue = c.bladeLength = 0.0f;
        c.position = Vector3{};
        c.rotation = Vector3{};
        c.scale = Vector3{1.0f, 1.0f, 1.0f};
    }
}

void DestroyCharacterModels() {
    for (Character& c : g_Characters) {
        if (c.active) c.EmptyModel();
    }
}
