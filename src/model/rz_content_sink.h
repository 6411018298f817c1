#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/rz_model.h"

// What both RZ object readers do with the values they read, in file order. Every step checks
// the values against the model's limits and against what the file defined before; the first
// failure is kept in `error` and every later step fails too.
class RzContentSink {
public:
    RzContentSink(RZ_Model& model, GfxDevice* device, void* ownerWindow)
        : model_(model), device_(device), ownerWindow_(ownerWindow) {}

    // `left` is what remains of the file; a count whose records cannot fit in it is refused
    // before anything is allocated. minBytes is the smallest size of one record.
    bool BoneCount(long count, size_t left, size_t minBytes);
    // The first block fills the root, each later one makes the bone of its slot.
    RZ_Bone* Bone(long block, long slot, std::string_view name, const Vector3& origin, float range,
                  long parent);
    bool ChildCount(long count);
    bool Child(RZ_Bone& bone, long childSlot, long boneIndex);

    bool VertexCount(long count, size_t left, size_t minBytes);
    // Bone indices arrive as floats (the ASCII variant writes them so) and are truncated.
    bool Vertex(const Vector3& position, float bone0, float bone1, float weight);
    bool UvCount(long count, size_t left, size_t minBytes);
    void Uv(float u, float v) { model_.uvs.push_back(RZ_TexCoord{u, v}); }

    bool MeshCount(long count, size_t left, size_t minBytes);
    RZ_Mesh* Mesh(long index, long visible, std::string_view name);
    bool FaceCount(RZ_Mesh& mesh, long count, size_t left, size_t minBytes);
    RZ_Face* Face(RZ_Mesh& mesh, long corners);
    bool Corner(RZ_Face& face, int corner, long vertexIndex, long uvIndex);
    bool FaceMaterial(RZ_Face& face, long material);

    bool MaterialCount(long count, size_t left, size_t minBytes);
    // textureName empty: no texture.
    bool Material(int index, long red, long green, long blue, std::string_view textureName);

    bool AnimationCount(long count, size_t left, size_t minBytes);
    RZ_Animation* Animation(long slot, std::string_view name);
    RZ_KeyTrack* Track(RZ_Animation& animation, long bone);
    bool KeyCount(long count, size_t left, size_t minBytes);
    void Key(RZ_KeyTrack& track, long frame, const Vector3& position, const Quaternion& rotation,
             const Vector3& scale);

    // Checks what could refer forward (parents, children) and sizes the per-vertex arrays.
    bool Finish();

    bool Fail(std::string why);
    bool Failed() const { return !error.empty(); }
    std::string error;
    // What a model that loads did not hold as written (a word where a number belongs, a weight
    // that is no share), and the byte of the text it is at (npos: the note says where); empty
    // when nothing.
    std::string note;
    size_t noteAt = std::string::npos;
    void Note(std::string what, size_t at = std::string::npos) {
        if (!note.empty()) return;
        note = std::move(what);
        noteAt = at;
    }

private:
    bool Count(long count, size_t limit, size_t left, size_t minBytes, const char* what);
    bool BoneExists(long index) const {
        return index >= 0 && index < kRzMaxBones && model_.bones[index] != nullptr;
    }

    RZ_Model& model_;
    GfxDevice* device_;
    void* ownerWindow_;
    std::vector<bool> meshFilled_;
};

// Cuts a name at its first NUL, as the C strings it is stored in would.
std::string_view CutAtNul(std::string_view name);
