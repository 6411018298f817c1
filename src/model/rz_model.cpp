#include "model/rz_model.h"

#include <cstring>

#include "gfx/texture.h"

namespace {

// "ﾙｰﾄ" in Shift-JIS, spelled out: models live in global tables that are built before the text
// codec exists, so the name cannot come from a conversion at run time.
constexpr char kRootBoneName[] = "\xD9\xB0\xC4";

}  // namespace

RZ_Model::RZ_Model() {
    Reset();
}

RZ_Model::~RZ_Model() {
    ReleaseTextures();
    Reset();
}

void RZ_Model::Reset() {
    vertices.clear();
    vertices.shrink_to_fit();
    skinned.clear();
    skinned.shrink_to_fit();
    normals.clear();
    normals.shrink_to_fit();
    uvs.clear();
    uvs.shrink_to_fit();
    meshes.clear();
    meshes.shrink_to_fit();
    for (RZ_Material& m : materials) {
        if (m.texture) m.texture->Release();
        m = RZ_Material{};
    }
    materialCount = 0;
    for (auto& b : bones) b.reset();
    for (auto& a : animations) a.reset();
    currentAnimation = 0;
    bones[0] = std::make_unique<RZ_Bone>();
    bones[0]->SetName(kRootBoneName);
}

void RZ_Model::ReleaseTextures() {
    for (RZ_Material& m : materials) {
        if (m.texture) m.texture->Release();
        m.texture = nullptr;
    }
}

void RZ_Model::SetDirectory(const char* path) {
    std::memset(directory, 0, sizeof directory);
    if (path) std::strncpy(directory, path, sizeof directory - 1);
}

int RZ_Model::BoneCount() const {
    int n = 0;
    for (const auto& b : bones) n += b != nullptr;
    return n;
}

void RZ_Model::ResetBindings() {
    for (RZ_Vertex& v : vertices) {
        v.bone0 = 0;
        v.bone1 = 0;
        v.weight = 1.0f;
    }
}

const char* RZ_Model::GetAnimationName(uint32_t index) const {
    return HasAnimation(index) ? animations[index]->name.c_str() : nullptr;
}

bool RZ_Model::CreateAnimation(uint32_t index, const char* name) {
    if (index >= kRzMaxAnimations) return false;
    auto anim = std::make_unique<RZ_Animation>();
    anim->name = name ? name : "";
    for (int b = 0; b < kRzMaxBones; ++b) {
        if (bones[b]) {
            anim->tracks[b] = std::make_unique<RZ_KeyTrack>();
            anim->tracks[b]->Rewind();
        }
    }
    // The pose the bones have now becomes frame 0 of every track.
    for (int b = 0; b < kRzMaxBones; ++b) {
        if (!bones[b]) continue;
        if (!anim->tracks[b]) anim->tracks[b] = std::make_unique<RZ_KeyTrack>();
        anim->tracks[b]->AddKey(0, bones[b]->offset, bones[b]->rotation, bones[b]->scale);
    }
    animations[index] = std::move(anim);
    return true;
}

void RZ_Model::DeleteAnimation(uint32_t index) {
    if (index < kRzMaxAnimations) animations[index].reset();
}
