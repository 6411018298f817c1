#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/rz_model.h"
#include "prop_model.h"

// What an importer must make of a prop written in its format: the meshes, vertices and
// materials the format yields, and every face in order with its corners at the prop's
// positions (in world units, after the format's axes and scale), in the prop's winding, with
// the prop's texture coordinates where the format has them.
inline void ExpectImportedProp(const RZ_Model& model, const PropModel& prop, const std::string& ext,
                               bool textured) {
    const bool rok = ext == ".rok", mx = ext == ".mx", cob = ext == ".cob";
    const bool withUv = !rok && !mx;
    const size_t meshes = rok || cob ? 1 : prop.parts.size();
    ASSERT_EQ(model.meshes.size(), meshes) << ext;
    EXPECT_EQ(model.vertices.size(), mx ? prop.CornerCount() : prop.PointCount()) << ext;
    EXPECT_EQ(model.materialCount, rok ? 13u : mx ? 1u : prop.materials.size()) << ext;
    size_t faces = 0;
    for (const RZ_Mesh& m : model.meshes) faces += m.faces.size();
    ASSERT_EQ(faces, prop.FaceCount()) << ext;

    size_t mesh = 0, face = 0;
    for (const PropPart& part : prop.parts) {
        for (const PropFace& want : part.faces) {
            const RZ_Face& got = model.meshes[mesh].faces[face];
            const std::string where = ext + " " + part.name + " face " + std::to_string(face);
            ASSERT_EQ(got.cornerCount, want.corners) << where;
            EXPECT_EQ(got.material, mx ? 0 : want.material) << where;
            // rok polygons may start at another corner of the same ring.
            int shift = 0;
            for (int s = 0; s < want.corners; ++s) {
                const V3 p = part.points[want.index[s]];
                const Vector3& q = model.vertices[got.vertexIndex[0]].position;
                if (std::fabs(p.x - q.x) + std::fabs(p.y - q.y) + std::fabs(p.z - q.z) < 0.03f) {
                    shift = s;
                    break;
                }
            }
            EXPECT_TRUE(rok || shift == 0) << where;
            for (int c = 0; c < want.corners; ++c) {
                const int k = (c + shift) % want.corners;
                const V3 p = part.points[want.index[k]];
                const Vector3& q = model.vertices[got.vertexIndex[c]].position;
                EXPECT_NEAR(q.x, p.x, 0.03f) << where << " corner " << c;
                EXPECT_NEAR(q.y, p.y, 0.03f) << where << " corner " << c;
                EXPECT_NEAR(q.z, p.z, 0.03f) << where << " corner " << c;
                if (withUv) {
                    const RZ_TexCoord& uv = model.uvs[got.uvIndex[c]];
                    EXPECT_NEAR(uv.u, want.u[k], 1e-4f) << where << " corner " << c;
                    EXPECT_NEAR(uv.v, want.v[k], 1e-4f) << where << " corner " << c;
                }
            }
            if (++face == model.meshes[mesh].faces.size() && mesh + 1 < meshes) ++mesh, face = 0;
        }
    }
    if (mx) return;  // one grey material
    for (size_t i = 0; i < prop.materials.size(); ++i) {
        const PropMaterial& want = prop.materials[i];
        const RZ_Material& got = model.materials[i];
        EXPECT_NEAR(got.red, want.red / 255.0f, 1e-3f) << ext << " material " << i;
        EXPECT_NEAR(got.green, want.green / 255.0f, 1e-3f) << ext << " material " << i;
        EXPECT_NEAR(got.blue, want.blue / 255.0f, 1e-3f) << ext << " material " << i;
        EXPECT_EQ(got.texture != nullptr, textured && want.textured) << ext << " material " << i;
    }
}
