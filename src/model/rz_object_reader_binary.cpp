// The binary variant of the RZ object format: little-endian numbers, single-precision floats,
// names as a length byte and that many bytes, in a fixed order after the 30-byte header.
#include <cmath>
#include <cstring>
#include <string>

#include "model/rz_content_sink.h"
#include "model/rz_object_readers.h"

namespace {

// Reads past the end give 0 (or empty names) and set `ended`: the reader goes on with zeros,
// which end every loop, and the caller checks `ended` once.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size, size_t pos)
        : data_(data), size_(size), pos_(pos) {}

    uint8_t U8() {
        uint8_t b = 0;
        Get(&b, 1);
        return b;
    }
    uint16_t U16() {
        uint8_t b[2] = {};
        Get(b, 2);
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    float F32() {
        uint8_t b[4] = {};
        Get(b, 4);
        const uint32_t bits = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                              (uint32_t(b[3]) << 24);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f) && firstNotFinite == std::string::npos) firstNotFinite = pos_ - 4;
        return f;
    }
    Vector3 Vec3(float scale) {
        Vector3 v;
        v.x = F32() * scale;
        v.y = F32() * scale;
        v.z = F32() * scale;
        return v;
    }
    // A length byte and that many bytes.
    std::string Name() {
        const size_t n = U8();
        if (n > Left()) {
            pos_ = size_;
            ended = true;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return s;
    }
    size_t Left() const { return size_ - pos_; }
    size_t Offset() const { return pos_; }
    bool ended = false;
    size_t firstNotFinite = std::string::npos;  // where the first NaN or infinity starts

private:
    void Get(uint8_t* out, size_t n) {
        if (n > Left()) {
            pos_ = size_;
            ended = true;
            return;
        }
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_;
};

// Smallest record sizes, to refuse counts the rest of the file cannot hold.
constexpr size_t kBoneBytes = 1 + 1 + 12 + 4 + 1 + 1;
constexpr size_t kVertexBytes = 12 + 1 + 1 + 4;
constexpr size_t kUvBytes = 8;
constexpr size_t kMeshBytes = 2 + 1 + 1 + 2;
constexpr size_t kFaceBytes = 2 + 2 * 4 + 1;
constexpr size_t kMaterialBytes = 4;
constexpr size_t kAnimationBytes = 1 + 1;
constexpr size_t kKeyBytes = 2 + 12 + 16 + 12;

bool ReadBones(ByteReader& r, RzContentSink& sink, long& boneCount) {
    boneCount = r.U8();
    r.U8();  // root bone index, always 0
    if (!sink.BoneCount(boneCount, r.Left(), kBoneBytes)) return false;
    for (long b = 0; b < boneCount && !r.ended; ++b) {
        const long slot = r.U8();
        const std::string name = r.Name();
        const Vector3 origin = r.Vec3(100.0f);
        const float range = r.F32();
        const long parent = r.U8();
        RZ_Bone* bone = sink.Bone(b, slot, name, origin, range, parent);
        if (!bone) return false;
        const long children = r.U8();
        if (!sink.ChildCount(children)) return false;
        for (long c = 0; c < children; ++c) {
            const long childSlot = r.U8();
            if (!sink.Child(*bone, childSlot, r.U8())) return false;
        }
    }
    return !r.ended;
}

bool ReadPools(ByteReader& r, RzContentSink& sink) {
    const long vertexCount = r.U16();
    if (!sink.VertexCount(vertexCount, r.Left(), kVertexBytes)) return false;
    for (long i = 0; i < vertexCount; ++i) {
        const Vector3 p = r.Vec3(100.0f);
        const float bone0 = r.U8();
        const float bone1 = r.U8();
        const float weight = r.F32();
        if (!IsShare(weight))
            sink.Note("a vertex weight " + std::to_string(weight) + " outside 0 to 1 at byte " +
                      std::to_string(r.Offset() - 4));
        if (!sink.Vertex(p, bone0, bone1, weight)) return false;
    }
    const long uvCount = r.U16();
    if (!sink.UvCount(uvCount, r.Left(), kUvBytes)) return false;
    for (long i = 0; i < uvCount; ++i) {
        const float u = r.F32();
        sink.Uv(u, r.F32());
    }
    return !r.ended;
}

bool ReadMeshes(ByteReader& r, RzContentSink& sink) {
    const long meshCount = r.U16();
    if (!sink.MeshCount(meshCount, r.Left(), kMeshBytes)) return false;
    for (long m = 0; m < meshCount && !r.ended; ++m) {
        const long index = r.U16();
        const long visible = r.U8();
        const std::string name = r.Name();
        RZ_Mesh* mesh = sink.Mesh(index, visible, name);
        if (!mesh) return false;
        const long faceCount = r.U16();
        if (!sink.FaceCount(*mesh, faceCount, r.Left(), kFaceBytes)) return false;
        for (long f = 0; f < faceCount && !r.ended; ++f) {
            RZ_Face* face = sink.Face(*mesh, r.U16());
            if (!face) return false;
            for (int c = 0; c < face->cornerCount; ++c) {
                const long vertexIndex = r.U16();
                if (!sink.Corner(*face, c, vertexIndex, r.U16())) return false;
            }
            if (!sink.FaceMaterial(*face, r.U8())) return false;
        }
    }
    return !r.ended;
}

bool ReadMaterials(ByteReader& r, RzContentSink& sink) {
    const long count = r.U8();
    if (!sink.MaterialCount(count, r.Left(), kMaterialBytes)) return false;
    for (int i = 0; i < count && !r.ended; ++i) {
        const long red = r.U8();
        const long green = r.U8();
        const long blue = r.U8();
        const bool hasTexture = r.U8() != 0;
        const std::string texture = hasTexture ? r.Name() : std::string();
        if (r.ended) return false;
        if (!sink.Material(i, red, green, blue, texture)) return false;
    }
    return !r.ended;
}

bool ReadAnimations(ByteReader& r, RzContentSink& sink, long boneCount) {
    const long count = r.U8();
    if (!sink.AnimationCount(count, r.Left(), kAnimationBytes)) return false;
    for (long a = 0; a < count && !r.ended; ++a) {
        const long slot = r.U8();
        const std::string name = r.Name();
        RZ_Animation* anim = sink.Animation(slot, name);
        if (!anim) return false;
        for (long b = 0; b < boneCount && !r.ended; ++b) {
            RZ_KeyTrack* track = sink.Track(*anim, r.U8());
            if (!track) return false;
            const long keys = r.I16();
            if (!sink.KeyCount(keys, r.Left(), kKeyBytes)) return false;
            for (long k = 0; k < keys; ++k) {
                const long frame = r.I16();
                const Vector3 p = r.Vec3(100.0f);
                Quaternion q;
                q.x = r.F32();
                q.y = r.F32();
                q.z = r.F32();
                q.w = r.F32();
                const Vector3 s = r.Vec3(1.0f);
                sink.Key(*track, frame, p, q, s);
            }
        }
    }
    return !r.ended;
}

}  // namespace

bool ReadRzBinary(const uint8_t* data, size_t size, RzContentSink& sink) {
    if (size < kRzHeaderSize) return sink.Fail("the file is shorter than its header");
    ByteReader r(data, size, kRzHeaderSize);
    long boneCount = 0;
    const bool ok = ReadBones(r, sink, boneCount) && ReadPools(r, sink) && ReadMeshes(r, sink) &&
                    ReadMaterials(r, sink) && ReadAnimations(r, sink, boneCount);
    // Past the end every value reads as 0, so whatever went wrong after it is not the reason.
    if (!ok && r.ended) sink.error = "the data runs past the end of the file";
    if (r.firstNotFinite != std::string::npos) {
        sink.note.clear();  // the first fault of all
        sink.Note("a number that is no number (NaN or infinity) at byte " +
                  std::to_string(r.firstNotFinite));
    }
    return ok;
}
