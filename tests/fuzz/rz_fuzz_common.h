#pragma once
// Shared by the two RZ object fuzz targets: a file from the fuzzer goes through the reader; a
// model it accepts must hold only what the model can hold, must animate and draw, and must
// write and read back in both variants.
#include <string>

#include "fuzz_common.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "model/rz_object_reader.h"
#include "model/rz_object_writer.h"

namespace rzfuzz {

using fuzz::Check;

inline void Setup() {
    fuzz::QuietHost();
}

inline void CheckModel(const RZ_Model& m) {
    Check(m.bones[0] != nullptr, "no root");
    const size_t n = m.vertices.size();
    Check(n <= kRzMaxPoolSize && m.uvs.size() <= kRzMaxPoolSize, "pool too large");
    Check(m.skinned.size() == n && m.normals.size() == n, "per-vertex arrays");
    for (const RZ_Vertex& v : m.vertices) {
        Check(v.bone0 < kRzMaxBones && v.bone1 < kRzMaxBones, "binding outside the bones");
        Check((v.bone0 == 0 || m.bones[v.bone0]) && (v.bone1 == 0 || m.bones[v.bone1]),
              "binding to a missing bone");
    }
    for (const auto& b : m.bones) {
        if (!b) continue;
        Check(b->parent == 0 || m.bones[b->parent], "missing parent");
        for (uint8_t c : b->children) Check(c == 0 || m.bones[c], "missing child");
    }
    Check(m.materialCount <= kRzMaxMaterials, "materials");
    for (const RZ_Mesh& mesh : m.meshes) {
        Check(mesh.name.size() <= kRzMaxMeshName, "mesh name");
        for (const RZ_Face& f : mesh.faces) {
            Check(f.cornerCount >= 2 && f.cornerCount <= kRzMaxCorners, "corners");
            Check(f.material < kRzMaxMaterials, "material");
            for (int c = 0; c < f.cornerCount; ++c) {
                Check(f.vertexIndex[c] < n && f.uvIndex[c] < m.uvs.size(), "corner index");
            }
        }
    }
}

inline void Exercise(RZ_Model& m) {
    GfxDevice& device = *fuzz::Device();
    for (uint32_t a = 0; a < kRzMaxAnimations; ++a) {
        if (!m.HasAnimation(a)) continue;
        m.SetCurrentAnimation(a);
        m.ResetAnimation();
        m.AdvanceAnimation(3);
        m.AdvanceAnimation(1000);
        m.AdvanceAnimation(-7);
        m.Draw(&device, 0.5f);
    }
    m.Draw(&device, 1.0f);
}

inline void RoundTrip(const RZ_Model& m) {
    for (RZ_SaveFormat format : {RZ_SaveFormat::Binary, RZ_SaveFormat::Ascii}) {
        std::string bytes, why;
        if (!WriteRzObject(m, format, bytes, why)) continue;  // e.g. a quote in an ASCII name
        static RZ_Model back;
        Check(ReadRzObject(back, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                           nullptr, nullptr, "again.rzo"),
              "a written model does not read back");
        Check(back.vertices.size() == m.vertices.size() && back.meshes.size() == m.meshes.size() &&
                  back.BoneCount() == m.BoneCount() && back.materialCount == m.materialCount,
              "content lost on the way back");
    }
}

inline void Run(const std::string& header, const uint8_t* data, size_t size) {
    std::string file = header;
    file.append(reinterpret_cast<const char*>(data), size);
    // One model for every input, as the importers' targets: the reader starts with a reset, and
    // a refusal must leave the previous input's model emptied.
    static RZ_Model m;
    const bool ok = ReadRzObject(m, reinterpret_cast<const uint8_t*>(file.data()), file.size(),
                                 nullptr, nullptr, "fuzz.rzo");
    if (!ok) {
        Check(RZ_LastError.code == 3 && !RZ_LastError.detail.empty(), "refusal without reason");
        Check(m.BoneCount() == 1 && m.vertices.empty() && m.meshes.empty(), "refused, not reset");
        return;
    }
    m.skinned.resize(m.vertices.size());
    for (size_t i = 0; i < m.vertices.size(); ++i) m.skinned[i] = m.vertices[i].position;
    CheckModel(m);
    RoundTrip(m);
    Exercise(m);
}

}  // namespace rzfuzz
