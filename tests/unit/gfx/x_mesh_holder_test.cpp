#include "gfx/x_mesh_holder.h"

#include <cmath>

#include "base/message_box.h"
#include "gfx/texture.h"
#include "gfx_test_files.h"

namespace {

class XMeshHolderTest : public GfxDataTest {
protected:
    void SetUp() override {
        GfxDataTest::SetUp();
        SetDataDirectory(FixturesDir() + "/field");
    }
};

}  // namespace

TEST_F(XMeshHolderTest, DrawsOnlyTheFirstPartWithTheFirstMaterialsTexture) {
    XMeshHolder holder;
    holder.load("BOX", "q3d\\");  // names resolve without regard to case
    ASSERT_TRUE(holder.mesh);
    ASSERT_EQ(holder.materialCount, 2u);
    ASSERT_NE(holder.textures[0], nullptr);  // "Crate.BMP" beside the mesh, stored as crate.bmp
    EXPECT_EQ(holder.textures[1], nullptr);  // the second material names no file

    holder.draw();
    ASSERT_EQ(backend.draws.size(), 1u);
    const auto& d = backend.draws[0];
    EXPECT_EQ(d.state.texture, holder.textures[0]);
    // The part uses corners 1-4: the draw starts at corner 1, indices counted from there.
    ASSERT_EQ(d.call.vertexCount, 4u);
    EXPECT_EQ(d.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    const XMeshVertex& first = backend.Vertex<XMeshVertex>(d, 0);
    EXPECT_EQ(first.v, 1.0f);
    EXPECT_EQ(first.nz, -1.0f);  // a file in the lit layout keeps its own normals

    // Other layouts get the faces' normals instead of the file's (1, 0, 0).
    holder.load("bare", "Q3D\\");
    ASSERT_TRUE(holder.mesh);
    for (const XMeshVertex& v : holder.mesh->vertices) {
        EXPECT_EQ(v.nx, 0.0f);
        EXPECT_EQ(std::fabs(v.nz), 1.0f);
    }
}

TEST_F(XMeshHolderTest, LoadReleaseAndMissingFilesLeaveNothingBehind) {
    XMeshHolder holder;
    holder.load("box", "Q3D\\");
    holder.load("box", "Q3D\\");  // loading again frees the first textures
    EXPECT_EQ(device.LiveTextureCount(), 1u);
    holder.load("nothing", "Q3D\\");
    EXPECT_FALSE(holder.mesh);
    EXPECT_EQ(device.LiveTextureCount(), 0u);
    holder.draw();
    EXPECT_TRUE(backend.draws.empty());
    EXPECT_TRUE(g_MessageBoxLog.empty());  // a missing mesh is silent
    holder.load("box", "Q3D\\");
    holder.release();
    EXPECT_FALSE(holder.mesh);
    EXPECT_EQ(device.LiveTextureCount(), 0u);
}
