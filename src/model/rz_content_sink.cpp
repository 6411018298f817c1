#include "model/rz_content_sink.h"

#include <cmath>
#include <utility>

#include "model/material_texture_loader.h"

std::string_view CutAtNul(std::string_view name) {
    const size_t nul = name.find('\0');
    return nul == std::string_view::npos ? name : name.substr(0, nul);
}

bool RzContentSink::Fail(std::string why) {
    if (error.empty()) error = std::move(why);
    return false;
}

bool RzContentSink::Count(long count, size_t limit, size_t left, size_t minBytes,
                          const char* what) {
    if (Failed()) return false;
    if (count < 0 || static_cast<unsigned long>(count) > limit) {
        return Fail(std::string(what) + " count " + std::to_string(count) + " outside 0.." +
                    std::to_string(limit));
    }
    if (minBytes > 0 && static_cast<size_t>(count) > left / minBytes) {
        return Fail(std::string(what) + " count " + std::to_string(count) +
                    " runs past the end of the file");
    }
    return true;
}

// ---- bones ----

bool RzContentSink::BoneCount(long count, size_t left, size_t minBytes) {
    return Count(count, kRzMaxBones, left, minBytes, "bone");
}

RZ_Bone* RzContentSink::Bone(long block, long slot, std::string_view name, const Vector3& origin,
                             float range, long parent) {
    if (Failed()) return nullptr;
    RZ_Bone* bone = nullptr;
    if (block == 0) {
        bone = model_.bones[0].get();  // the root, whatever slot the block names
    } else {
        if (slot < 0 || slot >= kRzMaxBones) {
            Fail("bone slot " + std::to_string(slot) + " outside 0.." +
                 std::to_string(kRzMaxBones - 1));
            return nullptr;
        }
        model_.bones[slot] = std::make_unique<RZ_Bone>();
        bone = model_.bones[slot].get();
    }
    if (parent < 0 || parent >= kRzMaxBones) {
        Fail("bone parent " + std::to_string(parent) + " outside 0.." +
             std::to_string(kRzMaxBones - 1));
        return nullptr;
    }
    name = CutAtNul(name);
    // An empty name leaves the name as it was (the root keeps its own).
    if (!name.empty()) bone->name.assign(name);
    bone->origin = origin;
    bone->range = range;
    bone->parent = static_cast<uint8_t>(parent);
    return bone;
}

bool RzContentSink::ChildCount(long count) {
    return Count(count, kRzMaxChildren, 0, 0, "child");
}

bool RzContentSink::Child(RZ_Bone& bone, long childSlot, long boneIndex) {
    if (Failed()) return false;
    if (childSlot < 0 || childSlot >= kRzMaxChildren) {
        return Fail("child slot " + std::to_string(childSlot) + " outside 0.." +
                    std::to_string(kRzMaxChildren - 1));
    }
    if (boneIndex < 0 || boneIndex >= kRzMaxBones) {
        return Fail("child bone " + std::to_string(boneIndex) + " outside 0.." +
                    std::to_string(kRzMaxBones - 1));
    }
    bone.children[childSlot] = static_cast<uint8_t>(boneIndex);
    return true;
}

// ---- vertices and texture coordinates ----

bool RzContentSink::VertexCount(long count, size_t left, size_t minBytes) {
    if (!Count(count, kRzMaxPoolSize, left, minBytes, "vertex")) return false;
    model_.vertices.reserve(static_cast<size_t>(count));
    return true;
}

bool RzContentSink::Vertex(const Vector3& position, float bone0, float bone1, float weight) {
    if (Failed()) return false;
    long index[2];
    const float given[2] = {bone0, bone1};
    for (int i = 0; i < 2; ++i) {
        const float t = std::trunc(given[i]);
        // Unbound (0) or a bone the file defined.
        if (!(t >= 0.0f && t < kRzMaxBones) || (t != 0.0f && !BoneExists(long(t)))) {
            return Fail("vertex " + std::to_string(model_.vertices.size()) + " bound to bone " +
                        std::to_string(given[i]) + " that the file does not define");
        }
        index[i] = long(t);
    }
    RZ_Vertex v;
    v.position = position;
    v.bone0 = static_cast<uint8_t>(index[0]);
    v.bone1 = static_cast<uint8_t>(index[1]);
    v.weight = weight;
    model_.vertices.push_back(v);
    return true;
}

bool RzContentSink::UvCount(long count, size_t left, size_t minBytes) {
    if (!Count(count, kRzMaxPoolSize, left, minBytes, "texture coordinate")) return false;
    model_.uvs.reserve(static_cast<size_t>(count));
    return true;
}

// ---- meshes and faces ----

bool RzContentSink::MeshCount(long count, size_t left, size_t minBytes) {
    if (!Count(count, kRzMaxPoolSize, left, minBytes, "mesh")) return false;
    model_.meshes.resize(static_cast<size_t>(count));
    meshFilled_.assign(static_cast<size_t>(count), false);
    return true;
}

RZ_Mesh* RzContentSink::Mesh(long index, long visible, std::string_view name) {
    if (Failed()) return nullptr;
    if (index < 0 || static_cast<size_t>(index) >= model_.meshes.size()) {
        Fail("mesh index " + std::to_string(index) + " outside 0.." +
             std::to_string(long(model_.meshes.size()) - 1));
        return nullptr;
    }
    if (meshFilled_[index]) {
        Fail("mesh " + std::to_string(index) + " given twice");
        return nullptr;
    }
    meshFilled_[index] = true;
    RZ_Mesh& mesh = model_.meshes[index];
    mesh.visible = visible != 0 ? 1 : 0;
    name = CutAtNul(name);
    mesh.name.assign(name.substr(0, kRzMaxMeshName));
    return &mesh;
}

bool RzContentSink::FaceCount(RZ_Mesh& mesh, long count, size_t left, size_t minBytes) {
    if (!Count(count, kRzMaxPoolSize, left, minBytes, "face")) return false;
    mesh.faces.reserve(static_cast<size_t>(count));
    return true;
}

RZ_Face* RzContentSink::Face(RZ_Mesh& mesh, long corners) {
    if (Failed()) return nullptr;
    if (corners < 2 || corners > kRzMaxCorners) {
        Fail("face with " + std::to_string(corners) + " corners (2 to 4 allowed)");
        return nullptr;
    }
    mesh.faces.emplace_back();
    RZ_Face& face = mesh.faces.back();
    face.cornerCount = static_cast<uint16_t>(corners);
    return &face;
}

bool RzContentSink::Corner(RZ_Face& face, int corner, long vertexIndex, long uvIndex) {
    if (Failed()) return false;
    if (vertexIndex < 0 || static_cast<size_t>(vertexIndex) >= model_.vertices.size()) {
        return Fail("face corner names vertex " + std::to_string(vertexIndex) + " of " +
                    std::to_string(model_.vertices.size()));
    }
    if (uvIndex < 0 || static_cast<size_t>(uvIndex) >= model_.uvs.size()) {
        return Fail("face corner names texture coordinate " + std::to_string(uvIndex) + " of " +
                    std::to_string(model_.uvs.size()));
    }
    face.vertexIndex[corner] = static_cast<uint16_t>(vertexIndex);
    face.uvIndex[corner] = static_cast<uint16_t>(uvIndex);
    return true;
}

bool RzContentSink::FaceMaterial(RZ_Face& face, long material) {
    if (Failed()) return false;
    if (material < 0 || material >= kRzMaxMaterials) {
        return Fail("face material " + std::to_string(material) + " outside 0.." +
                    std::to_string(kRzMaxMaterials - 1));
    }
    face.material = static_cast<uint8_t>(material);
    return true;
}

// ---- materials ----

bool RzContentSink::MaterialCount(long count, size_t left, size_t minBytes) {
    if (!Count(count, kRzMaxMaterials, left, minBytes, "material")) return false;
    model_.materialCount = static_cast<uint8_t>(count);
    return true;
}

bool RzContentSink::Material(int index, long red, long green, long blue,
                             std::string_view textureName) {
    if (Failed()) return false;
    RZ_Material& m = model_.materials[index];
    m.red = static_cast<float>(red) / 255.0f;
    m.green = static_cast<float>(green) / 255.0f;
    m.blue = static_cast<float>(blue) / 255.0f;
    textureName = CutAtNul(textureName);
    if (!textureName.empty()) {
        m.sourceName.assign(textureName);
        LoadMaterialTexture(model_, device_, m.sourceName.c_str(), index, ownerWindow_);
    }
    return true;
}

// ---- animations ----

bool RzContentSink::AnimationCount(long count, size_t left, size_t minBytes) {
    // Slots may repeat (a later block replaces the animation), so only the file bounds it.
    return Count(count, static_cast<size_t>(-1) / 2, left, minBytes, "animation");
}

RZ_Animation* RzContentSink::Animation(long slot, std::string_view name) {
    if (Failed()) return nullptr;
    if (slot < 0 || slot >= kRzMaxAnimations) {
        Fail("animation slot " + std::to_string(slot) + " outside 0.." +
             std::to_string(kRzMaxAnimations - 1));
        return nullptr;
    }
    model_.CreateAnimation(static_cast<uint32_t>(slot), std::string(CutAtNul(name)).c_str());
    return model_.animations[slot].get();
}

RZ_KeyTrack* RzContentSink::Track(RZ_Animation& animation, long bone) {
    if (Failed()) return nullptr;
    if (!BoneExists(bone) || !animation.tracks[bone]) {
        Fail("key track for bone " + std::to_string(bone) + " that the file does not define");
        return nullptr;
    }
    return animation.tracks[bone].get();
}

bool RzContentSink::KeyCount(long count, size_t left, size_t minBytes) {
    return Count(count, static_cast<size_t>(-1) / 2, left, minBytes, "key");
}

void RzContentSink::Key(RZ_KeyTrack& track, long frame, const Vector3& position,
                        const Quaternion& rotation, const Vector3& scale) {
    track.AddKey(static_cast<int32_t>(frame), position, rotation, scale);
}

// ---- the whole ----

bool RzContentSink::Finish() {
    if (Failed()) return false;
    for (int b = 0; b < kRzMaxBones; ++b) {
        const RZ_Bone* bone = model_.bones[b].get();
        if (!bone) continue;
        if (bone->parent != 0 && !BoneExists(bone->parent)) {
            return Fail("bone " + std::to_string(b) + " has parent " +
                        std::to_string(bone->parent) + " that the file does not define");
        }
        for (uint8_t child : bone->children) {
            if (child != 0 && !BoneExists(child)) {
                return Fail("bone " + std::to_string(b) + " has child " + std::to_string(child) +
                            " that the file does not define");
            }
        }
    }
    model_.normals.assign(model_.vertices.size(), Vector3{});
    return true;
}
