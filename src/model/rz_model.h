#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/quaternion.h"
#include "math/vector3.h"

class GfxDevice;
class GfxTexture;

// The skinned, animated model of characters, weapons and other moving things: one pool of
// vertices bound to at most two bones each, meshes of edges, triangles and quads that index the
// pool, 32 materials that are textures, a tree of up to 32 bones and up to 128 named key-framed
// animations. Text (names) is Shift-JIS.

constexpr int kRzMaxBones = 32;
constexpr int kRzMaxChildren = 8;
constexpr int kRzMaxAnimations = 128;
constexpr int kRzMaxMaterials = 32;
constexpr int kRzMaxCorners = 4;
constexpr size_t kRzMaxPoolSize = 65535;  // vertices, texture coordinates, meshes, faces per mesh
constexpr size_t kRzDirectorySize = 256;
constexpr size_t kRzMaxMeshName = 258;  // the mesh name field holds 259 bytes with its NUL

struct RZ_Vertex {
    Vector3 position;
    uint8_t bone0 = 0;    // 0: not bound, stays at its bind position
    uint8_t bone1 = 0;    // 0: bound to bone0 alone
    float weight = 1.0f;  // share of bone0
};

struct RZ_TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

struct RZ_Face {
    uint16_t cornerCount = 0;  // 2 an edge, 3 a triangle, 4 a quad
    uint16_t vertexIndex[kRzMaxCorners] = {};
    uint16_t uvIndex[kRzMaxCorners] = {};
    Vector3 normal;  // computed by UpdateNormals
    uint8_t material = 0;
};

struct RZ_Mesh {
    uint8_t visible = 1;
    std::string name;  // at most kRzMaxMeshName bytes
    std::vector<RZ_Face> faces;
};

struct RZ_Material {
    std::string textureName;  // the path the texture was loaded from; empty when none
    std::string sourceName;   // the texture file as the model file names it; empty when none
    GfxTexture* texture = nullptr;
    float red = 0.0f, green = 0.0f, blue = 0.0f;  // kept for the file formats; drawing ignores it
};

struct RZ_Bone {
    std::string name;  // empty: not set
    float range = 0.0f;
    uint8_t parent = 0;                     // 0 for the root and the bones right under it
    uint8_t children[kRzMaxChildren] = {};  // bone per child slot; 0 = empty slot
    Vector3 origin;                         // bind-pose position in model space
    Vector3 offset;                         // animated translation
    Vector3 worldPosition;
    Quaternion rotation{0.0f, 0.0f, 0.0f, 1.0f};
    Quaternion worldRotation{0.0f, 0.0f, 0.0f, 1.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Vector3 worldScale{1.0f, 1.0f, 1.0f};

    // The name, or null while none is set.
    const char* GetName() const { return name.empty() ? nullptr : name.c_str(); }
    void SetName(const char* text) { name = text ? text : ""; }
};

struct RZ_Key {
    int32_t frame = 0;
    Vector3 position;
    Quaternion rotation{0.0f, 0.0f, 0.0f, 1.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
};

// The keys of one bone in one animation, ascending by frame with at most one key per frame, and
// the play position: `current` is the key at or before `time`, `segment` the frames from it to
// the next key (at least 1).
struct RZ_KeyTrack {
    std::vector<RZ_Key> keys;
    size_t current = 0;
    int32_t time = 0;
    int32_t segment = 1;

    // Overwrites the key at that frame or inserts a new one in frame order.
    void AddKey(int32_t frame, const Vector3& position, const Quaternion& rotation,
                const Vector3& scale);
    // Back to the first key at time 0.
    void Rewind();
    // Moves the play time by d frames (may be negative); true when the track has ended.
    bool Advance(int32_t d);
    // The pose at the play time.
    void Evaluate(Vector3& offset, Quaternion& rotation, Vector3& scale) const;
    // The key at frame 0, or null.
    const RZ_Key* KeyAtFrameZero() const;
};

struct RZ_Animation {
    std::string name;
    std::unique_ptr<RZ_KeyTrack> tracks[kRzMaxBones];  // one per bone slot
};

// The two variants of the RZ object format.
enum class RZ_SaveFormat { Binary, Ascii };

class RZ_Model {
public:
    RZ_Model();
    ~RZ_Model();
    RZ_Model(const RZ_Model&) = delete;
    RZ_Model& operator=(const RZ_Model&) = delete;

    char directory[kRzDirectorySize] = {};  // where material textures are looked for
    std::vector<RZ_Vertex> vertices;        // bind pose
    std::vector<Vector3> skinned;           // deformed positions, one per vertex
    std::vector<Vector3> normals;           // vertex normals, one per vertex
    std::vector<RZ_TexCoord> uvs;
    std::vector<RZ_Mesh> meshes;
    RZ_Material materials[kRzMaxMaterials];
    uint8_t materialCount = 0;  // entries the model file listed (written back by Save)
    std::unique_ptr<RZ_Animation> animations[kRzMaxAnimations];
    uint32_t currentAnimation = 0;
    std::unique_ptr<RZ_Bone> bones[kRzMaxBones];  // slot 0 always holds the root

    // Frees all content and leaves the root bone "ﾙｰﾄ" alone in slot 0. The directory stays.
    void Reset();
    // Releases the material textures; their names stay.
    void ReleaseTextures();
    // path is a folder ending in a backslash (or empty); cut to fit.
    void SetDirectory(const char* path);
    // Loads a model file, choosing the reader by the file's extension (rz_model_load.cpp).
    // ownerWindow is passed through to the dialogs of texture loading.
    bool Load(GfxDevice* device, const char* fileName, void* ownerWindow);
    // Writes the model as an RZ object file (rz_object_writer.cpp); false, with RZ_LastError
    // set, when the file cannot be written or the content does not fit the format.
    bool Save(const char* fileName, RZ_SaveFormat format) const;

    RZ_Bone* GetBone(uint32_t index) const {
        return index < kRzMaxBones ? bones[index].get() : nullptr;
    }
    int BoneCount() const;
    // Binds every vertex to nothing (bone 0), as models without a skeleton need.
    void ResetBindings();

    // Animations: all but the first four act on currentAnimation.
    bool HasAnimation(uint32_t index) const {
        return index < kRzMaxAnimations && animations[index] != nullptr;
    }
    const char* GetAnimationName(uint32_t index) const;
    uint32_t GetCurrentAnimation() const { return currentAnimation; }
    void SetCurrentAnimation(uint32_t index) { currentAnimation = index; }
    // Makes an animation in slot index (replacing one that is there) whose frame 0 holds the
    // present pose of every bone.
    bool CreateAnimation(uint32_t index, const char* name);
    void DeleteAnimation(uint32_t index);
    // Rewinds every track and poses the bones from their keys at frame 0.
    void ResetAnimation();
    // Moves every track by frames and poses the bones; true when every track has ended.
    bool AdvanceAnimation(int32_t frames);
    // Play time of the first bone's track; 0 without one.
    int32_t GetAnimationTime() const;

    // Pose propagation, skinning and normals; Draw runs all three.
    void UpdateBoneTransforms();
    void UpdateSkin();
    void UpdateNormals();
    // Draws the visible meshes with the device (g_pd3dDevice when null); alpha is the alpha of
    // the material colour. The caller sets transforms and render states.
    void Draw(GfxDevice* device, float alpha);

private:
    RZ_Animation* Current() const {
        return currentAnimation < kRzMaxAnimations ? animations[currentAnimation].get() : nullptr;
    }
    void TransformBone(uint32_t index, uint32_t& visited);
};
