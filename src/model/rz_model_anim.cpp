#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/rz_model.h"

namespace {

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

// ---- one track ----

void RZ_KeyTrack::AddKey(int32_t frame, const Vector3& position, const Quaternion& rotation,
                         const Vector3& scale) {
    auto at = std::lower_bound(keys.begin(), keys.end(), frame,
                               [](const RZ_Key& k, int32_t f) { return k.frame < f; });
    if (at != keys.end() && at->frame == frame) {
        at->position = position;
        at->rotation = rotation;
        at->scale = scale;
        return;
    }
    const size_t pos = static_cast<size_t>(at - keys.begin());
    const bool currentValid = current < keys.size();
    keys.insert(at, RZ_Key{frame, position, rotation, scale});
    // `current` names a key, not a place: it keeps naming the same key.
    if (currentValid && pos <= current) ++current;
}

void RZ_KeyTrack::Rewind() {
    current = 0;
    time = 0;
    Advance(0);
}

bool RZ_KeyTrack::Advance(int32_t d) {
    if (keys.size() < 2) {
        segment = 1;
        return true;
    }
    if (current >= keys.size()) current = 0;
    auto segmentAt = [this](size_t i) {
        const size_t next = i + 1 < keys.size() ? i + 1 : i;
        const int64_t diff = int64_t(keys[next].frame) - keys[i].frame;
        return diff <= 0 ? 1 : Saturate(diff);
    };
    // Saturating: a motion left on its last frame keeps counting for as long as the game runs.
    time = Saturate(int64_t(time) + d);
    bool ended = false;
    if (d < 0) {
        // Backwards the track steps back by one key at most per call.
        if (time < keys[current].frame && current > 0) --current;
    } else {
        while (int64_t(keys[current].frame) + segment <= time) {
            ++current;
            if (current == keys.size()) {
                current = keys.size() - 1;
                ended = true;
                break;
            }
            segment = segmentAt(current);
        }
    }
    segment = segmentAt(current);
    if (time < 0) {
        time = 0;
        ended = true;
    }
    return ended;
}

void RZ_KeyTrack::Evaluate(Vector3& offset, Quaternion& rotation, Vector3& scale) const {
    if (keys.empty()) {
        offset = Vector3{};
        rotation.Set(0.0f, 0.0f, 0.0f, 1.0f);
        scale.Set(1.0f, 1.0f, 1.0f);
        return;
    }
    const size_t i0 = std::min(current, keys.size() - 1);
    const size_t i1 = std::min(i0 + 1, keys.size() - 1);
    const size_t i2 = std::min(i1 + 1, keys.size() - 1);
    const RZ_Key& k0 = keys[i0];
    const RZ_Key& k1 = keys[i1];
    const RZ_Key& k2 = keys[i2];
    // No upper clamp: between keys s stays below 1, and past the last key both ends are equal.
    float s = static_cast<float>(int64_t(time) - k0.frame) / static_cast<float>(segment);
    if (s < 0.0f) s = 0.0f;

    auto hermite = [s](Vector3& out, const Vector3& p0, const Vector3& p1, const Vector3& p2) {
        Vector3 t0 = p1;
        t0.Sub(p0);
        Vector3 t1 = p2;
        t1.Sub(p1);
        Vector3::Hermite(out, p0, p1, t0, t1, s);
    };
    hermite(offset, k0.position, k1.position, k2.position);
    hermite(scale, k0.scale, k1.scale, k2.scale);
    Quaternion::Slerp(rotation, k0.rotation, k1.rotation, s);
    rotation.Normalize();
}

const RZ_Key* RZ_KeyTrack::KeyAtFrameZero() const {
    for (const RZ_Key& k : keys) {
        if (k.frame == 0) return &k;
        if (k.frame > 0) break;
    }
    return nullptr;
}

// ---- the current animation ----

void RZ_Model::ResetAnimation() {
    RZ_Animation* anim = Current();
    if (!anim) return;
    for (int b = 0; b < kRzMaxBones; ++b) {
        if (bones[b] && anim->tracks[b]) anim->tracks[b]->Rewind();
    }
    for (int b = 0; b < kRzMaxBones; ++b) {
        if (!bones[b] || !anim->tracks[b]) continue;
        if (const RZ_Key* k = anim->tracks[b]->KeyAtFrameZero()) {
            bones[b]->offset = k->position;
            bones[b]->rotation = k->rotation;
            bones[b]->scale = k->scale;
        }
    }
}

bool RZ_Model::AdvanceAnimation(int32_t frames) {
    RZ_Animation* anim = Current();
    if (!anim) return true;
    bool allEnded = true;
    for (int b = 0; b < kRzMaxBones; ++b) {
        RZ_Bone* bone = bones[b].get();
        RZ_KeyTrack* track = anim->tracks[b].get();
        // A bone made after the animation has no track and keeps its pose.
        if (!bone || !track) continue;
        if (!track->Advance(frames)) allEnded = false;
        track->Evaluate(bone->offset, bone->rotation, bone->scale);
    }
    return allEnded;
}

int32_t RZ_Model::GetAnimationTime() const {
    const RZ_Animation* anim = Current();
    if (!anim) return 0;
    for (int b = 0; b < kRzMaxBones; ++b) {
        if (bones[b] && anim->tracks[b]) return anim->tracks[b]->time;
    }
    return 0;
}

// ---- pose, skin and normals ----

void RZ_Model::TransformBone(uint32_t index, uint32_t& visited) {
    // Each bone once per pass, so a child list that loops back cannot recurse for ever.
    if (index >= kRzMaxBones || !bones[index] || (visited & (1u << index))) return;
    visited |= 1u << index;
    RZ_Bone& bone = *bones[index];
    const RZ_Bone* parent = bone.parent != 0 ? GetBone(bone.parent) : nullptr;
    if (parent) {
        Vector3 local = bone.origin;
        local.Sub(parent->origin);
        local.Add(bone.offset);
        local.ScaleBy(parent->worldScale.x, parent->worldScale.y, parent->worldScale.z);
        local.Rotate(parent->worldRotation);
        local.Add(parent->worldPosition);
        bone.worldPosition = local;
        bone.worldScale = parent->worldScale;
        bone.worldScale.ScaleBy(bone.scale.x, bone.scale.y, bone.scale.z);
        bone.worldRotation = bone.rotation;
        bone.worldRotation.Multiply(parent->worldRotation);
    } else {
        // The root and the bones right under it take no transform from the root.
        bone.worldPosition = bone.origin;
        bone.worldPosition.Add(bone.offset);
        bone.worldRotation = bone.rotation;
        bone.worldScale = bone.scale;
    }
    for (uint8_t child : bone.children) {
        if (child != 0) TransformBone(child, visited);
    }
}

void RZ_Model::UpdateBoneTransforms() {
    uint32_t visited = 0;
    TransformBone(0, visited);
}

void RZ_Model::UpdateSkin() {
    UpdateBoneTransforms();
    skinned.resize(vertices.size());
    auto bound = [](const RZ_Vertex& v, const RZ_Bone& b) {
        Vector3 t = v.position;
        t.Sub(b.origin);
        t.ScaleBy(b.worldScale.x, b.worldScale.y, b.worldScale.z);
        t.Rotate(b.worldRotation);
        t.Add(b.worldPosition);
        return t;
    };
    for (size_t i = 0; i < vertices.size(); ++i) {
        const RZ_Vertex& v = vertices[i];
        const RZ_Bone* b0 = v.bone0 != 0 ? GetBone(v.bone0) : nullptr;
        if (!b0) {
            skinned[i] = v.position;
            continue;
        }
        Vector3 t0 = bound(v, *b0);
        const RZ_Bone* b1 = v.bone1 != 0 ? GetBone(v.bone1) : nullptr;
        if (b1) t0.LerpTo(1.0f - v.weight, bound(v, *b1));
        skinned[i] = t0;
    }
}

void RZ_Model::UpdateNormals() {
    normals.assign(vertices.size(), Vector3{});
    if (skinned.size() != vertices.size()) skinned.resize(vertices.size());
    const size_t n = vertices.size();
    for (RZ_Mesh& mesh : meshes) {
        if (!mesh.visible) continue;
        for (RZ_Face& f : mesh.faces) {
            if (f.cornerCount < 3 || f.cornerCount > kRzMaxCorners) continue;
            bool inside = true;
            for (int c = 0; c < f.cornerCount; ++c) inside = inside && f.vertexIndex[c] < n;
            if (!inside) continue;
            const Vector3& p = skinned[f.vertexIndex[0]];
            Vector3 q = skinned[f.vertexIndex[1]];
            Vector3 r = skinned[f.vertexIndex[2]];
            q.Sub(p);
            r.Sub(p);
            Vector3::Cross(f.normal, q, r);
            f.normal.Normalize();
            for (int c = 0; c < f.cornerCount; ++c) normals[f.vertexIndex[c]].Add(f.normal);
        }
    }
    for (Vector3& v : normals) v.Normalize();
}
