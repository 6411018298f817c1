// The ASCII variant of the RZ object format: tokens in a fixed order after the 32-byte header
// (the header line and its line breaks). Layout words and brackets are read past by count.
#include <cmath>
#include <cstdint>
#include <string>

#include "model/rz_content_sink.h"
#include "model/rz_last_error.h"
#include "model/rz_object_readers.h"
#include "model/rz_tokenizer.h"

namespace {

// The fewest bytes one record can take in the text: a number and a separator.
constexpr size_t kMinTokenBytes = 2;
// How far from 1 a key's rotation may be: six decimals written out leave far less.
constexpr float kRotationLengthSlack = 0.01f;

Vector3 ReadVector(RzTokenizer& t, float scale) {
    Vector3 v;
    v.x = t.Float() * scale;
    v.y = t.Float() * scale;
    v.z = t.Float() * scale;
    return v;
}

bool ReadBones(RzTokenizer& t, RzContentSink& sink, long& boneCount) {
    t.Skip(3);  // Bone { BoneNum
    boneCount = t.Int();
    if (!sink.BoneCount(boneCount, t.Left(), kMinTokenBytes)) return false;
    t.Skip(2);  // RootBone 0
    for (long b = 0; b < boneCount; ++b) {
        t.Skip();  // Bone
        const long slot = t.Int();
        t.Skip(2);  // { Name
        const std::string name = Unquote(t.Text());
        t.Skip();  // Origin
        const Vector3 origin = ReadVector(t, 100.0f);
        t.Skip();  // Range
        const float range = t.Float();
        t.Skip();  // ParentID
        const long parent = t.Int();
        RZ_Bone* bone = sink.Bone(b, slot, name, origin, range, parent);
        if (!bone) return false;
        t.Skip();  // ChildID
        const long children = t.Int();
        if (!sink.ChildCount(children)) return false;
        t.Skip();  // {
        for (long c = 0; c < children; ++c) {
            t.Skip();  // (
            const long childSlot = t.Int();
            t.Skip();  // )
            if (!sink.Child(*bone, childSlot, t.Int())) return false;
        }
        t.Skip(2);  // } }
    }
    t.Skip();  // }
    return !t.Ended();
}

bool ReadPools(RzTokenizer& t, RzContentSink& sink) {
    t.Skip(3);  // Model { Vertexes
    const long vertexCount = t.Int();
    if (!sink.VertexCount(vertexCount, t.Left(), kMinTokenBytes)) return false;
    t.Skip();  // {
    for (long i = 0; i < vertexCount && !t.Ended(); ++i) {
        const Vector3 p = ReadVector(t, 1000.0f);
        t.Skip(2);  // bone (
        const float bone0 = t.Float();
        const float bone1 = t.Float();
        const float weight = t.Float();
        // A share of the first bone: kept as written, named when it is none.
        if (!IsShare(weight))
            sink.Note("a vertex weight " + std::to_string(weight) + " outside 0 to 1", t.Offset());
        t.Skip();  // )
        if (!sink.Vertex(p, bone0, bone1, weight)) return false;
    }
    t.Skip(2);  // } TextureUV
    const long uvCount = t.Int();
    if (!sink.UvCount(uvCount, t.Left(), kMinTokenBytes)) return false;
    t.Skip();  // {
    for (long i = 0; i < uvCount && !t.Ended(); ++i) {
        const float u = t.Float();
        sink.Uv(u, t.Float());
    }
    t.Skip();  // }
    return !t.Ended();
}

bool ReadMeshes(RzTokenizer& t, RzContentSink& sink) {
    t.Skip(3);  // Mesh { MeshNum
    const long meshCount = t.Int();
    if (!sink.MeshCount(meshCount, t.Left(), kMinTokenBytes)) return false;
    for (long m = 0; m < meshCount && !t.Ended(); ++m) {
        t.Skip();  // Mesh
        const long index = t.Int();
        t.Skip(2);  // { Visible
        const long visible = t.Int();
        t.Skip();  // Name
        const std::string name = Unquote(t.Text());
        RZ_Mesh* mesh = sink.Mesh(index, visible, name);
        if (!mesh) return false;
        t.Skip();  // Face
        const long faceCount = t.Int();
        if (!sink.FaceCount(*mesh, faceCount, t.Left(), kMinTokenBytes)) return false;
        t.Skip();  // {
        for (long f = 0; f < faceCount && !t.Ended(); ++f) {
            RZ_Face* face = sink.Face(*mesh, t.Int());
            if (!face) return false;
            for (int c = 0; c < face->cornerCount; ++c) {
                t.Skip();  // (
                const long vertexIndex = t.Int();
                const long uvIndex = t.Int();
                t.Skip();  // )
                if (!sink.Corner(*face, c, vertexIndex, uvIndex)) return false;
            }
            t.Skip(2);  // mat (
            if (!sink.FaceMaterial(*face, t.Int())) return false;
            t.Skip();  // )
        }
        t.Skip(2);  // } }
    }
    t.Skip();  // }
    return !t.Ended();
}

bool ReadMaterials(RzTokenizer& t, RzContentSink& sink) {
    t.Skip();  // Material
    const long count = t.Int();
    if (!sink.MaterialCount(count, t.Left(), kMinTokenBytes)) return false;
    t.Skip();  // {
    for (int i = 0; i < count && !t.Ended(); ++i) {
        t.Skip(2);  // RGB (
        const long r = t.Int();
        const long g = t.Int();
        const long b = t.Int();
        t.Skip();  // )
        const long hasTexture = t.Int();
        const std::string texture = hasTexture != 0 ? t.Text() : std::string();
        if (t.Ended()) return false;
        if (!sink.Material(i, r, g, b, texture)) return false;
    }
    t.Skip(2);  // } }
    return !t.Ended();
}

bool ReadAnimations(RzTokenizer& t, RzContentSink& sink, long boneCount) {
    t.Skip(3);  // Animation { AnimNum
    const long count = t.Int();
    if (!sink.AnimationCount(count, t.Left(), kMinTokenBytes)) return false;
    for (long a = 0; a < count && !t.Ended(); ++a) {
        t.Skip();  // Anim
        const long slot = t.Int();
        t.Skip();  // {
        const std::string keyword = t.Text();
        const std::string quoted = t.Text();
        const std::string name = Unquote(quoted);
        RZ_DiagLine(keyword);
        RZ_DiagLine(quoted);
        RZ_DiagLine("name = " + name);
        RZ_Animation* anim = sink.Animation(slot, name);
        if (!anim) return false;
        for (long b = 0; b < boneCount && !t.Ended(); ++b) {
            t.Skip();  // BoneID
            RZ_KeyTrack* track = sink.Track(*anim, t.Int());
            if (!track) return false;
            t.Skip(2);  // { Frame
            const long keys = t.Int();
            if (!sink.KeyCount(keys, t.Left(), kMinTokenBytes)) return false;
            t.Skip();  // {
            for (long k = 0; k < keys && !t.Ended(); ++k) {
                const long frame = t.Int();
                const size_t keyAt = t.Offset();  // on the key's line
                t.Skip(2);                        // pos (
                const Vector3 p = ReadVector(t, 1.0f);
                t.Skip(3);  // ) rot (
                Quaternion q;
                q.x = t.Float();
                q.y = t.Float();
                q.z = t.Float();
                q.w = t.Float();
                t.Skip(3);  // ) size (
                const Vector3 s = ReadVector(t, 1.0f);
                t.Skip();  // )
                if (t.Ended()) return false;
                // Kept as written, but named: a key before frame 0 is never reached, and a
                // rotation is a unit quaternion.
                if (frame < 0 || frame > INT32_MAX)
                    sink.Note(
                        "a key at frame " + std::to_string(frame) + ", outside 0 to 2147483647",
                        keyAt);
                const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
                if (!(std::fabs(length - 1.0f) <= kRotationLengthSlack))
                    sink.Note("a key's rotation of length " + std::to_string(length) +
                                  ", not 1: not a rotation",
                              keyAt);
                sink.Key(*track, frame, p, q, s);
            }
            t.Skip(2);  // } }
        }
        t.Skip();  // }
    }
    std::string closing;  // the file's last '}'
    if (!t.Next(closing))
        sink.Note("the file ends before its closing '}': is it cut short?", t.Offset());
    return !t.Ended();
}

}  // namespace

bool ReadRzAscii(const uint8_t* data, size_t size, RzContentSink& sink) {
    // Behind the header line come its two line breaks, which the tokenizer would skip anyway.
    const size_t start = kRzHeaderSize + 2 < size ? kRzHeaderSize + 2 : size;
    RzTokenizer t(reinterpret_cast<const char*>(data) + start, size - start);
    long boneCount = 0;
    const bool ok = ReadBones(t, sink, boneCount) && ReadPools(t, sink) && ReadMeshes(t, sink) &&
                    ReadMaterials(t, sink) && ReadAnimations(t, sink, boneCount);
    // Past the end every value reads as 0, so whatever went wrong after it is not the reason.
    if (!ok && t.Ended()) sink.error = "the data runs past the end of the file";
    if (t.FirstNonNumber() != std::string_view::npos) {
        sink.note.clear();  // the first fault of all
        sink.Note("a word where a number belongs (read as far as it is a number)",
                  t.FirstNonNumber());
    }
    if (sink.noteAt != std::string::npos) sink.noteAt += start;
    return ok;
}
