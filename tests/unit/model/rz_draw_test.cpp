#include <gtest/gtest.h>

#include <tuple>

#include "gfx/texture.h"
#include "model_test_util.h"

namespace {

struct LitVertex {
    float x, y, z, nx, ny, nz, u, v;
};

class RzDraw : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        RZ_Model& m = *model;
        m.vertices.resize(4);
        m.vertices[0].position = Vector3{0, 0, 0};
        m.vertices[1].position = Vector3{0, 0, 1};
        m.vertices[2].position = Vector3{1, 0, 1};
        m.vertices[3].position = Vector3{1, 0, 0};
        m.uvs = {{0, 0}, {0.5f, 1}};
        m.meshes.resize(2);
        // Material changes: 1 -> 1 -> 0 (edge, still switches) -> 0.
        m.meshes[0].faces = {RZ_Face{3, {0, 1, 2}, {0, 1, 0}, {}, 1},
                             RZ_Face{4, {0, 1, 2, 3}, {1, 1, 0, 0}, {}, 1},
                             RZ_Face{2, {0, 1}, {}, {}, 0}, RZ_Face{3, {0, 2, 3}, {}, {}, 0}};
        m.meshes[1].visible = 0;
        m.meshes[1].faces = {RZ_Face{3, {3, 2, 1}, {}, {}, 2}};
        ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, PixelFormat::R5G6B5, Pool::Managed, &texture),
                  kOk);
        m.materials[1].texture = texture;  // the model releases it
    }
    GfxTexture* texture = nullptr;
};

}  // namespace

TEST_F(RzDraw, DrawsTrianglesAndQuadsOfVisibleMeshesWithOneMaterial) {
    model->Draw(nullptr, 0.25f);  // through g_pd3dDevice
    ASSERT_EQ(backend.draws.size(), 3u);
    const auto& tri = backend.draws[0];
    const auto& quad = backend.draws[1];
    const auto& last = backend.draws[2];
    EXPECT_EQ(std::tuple(tri.call.vertexCount, tri.state.texture, tri.state.material.diffuse.a),
              std::tuple(3u, texture, 0.25f));
    // The normal is shared by the flat faces around the vertex.
    const LitVertex& v1 = backend.Vertex<LitVertex>(tri, 1);
    EXPECT_EQ(std::tuple(v1.z, v1.ny, v1.u), std::tuple(1.0f, 1.0f, 0.5f));

    EXPECT_EQ(quad.indices, (std::vector<uint16_t>{0, 1, 2, 2, 3, 0}));
    EXPECT_EQ(
        std::tuple(backend.Vertex<LitVertex>(quad, 3).x, backend.Vertex<LitVertex>(quad, 0).u),
        std::tuple(1.0f, 0.5f));
    // Material 0 has no texture: untextured from there on.
    EXPECT_EQ(last.state.texture, nullptr);
}
