#include "gfx_test_files.h"

namespace {

class XFileCorpus : public ::testing::Test {
protected:
    void SetUp() override { SKIP_WITHOUT_CORPUS(dir); }
    XMeshData Mesh(const std::string& name) {
        SCOPED_TRACE(name);
        return MustRead(ReadAll(dir + "/" + name));
    }
    const std::string dir = CorpusDir("x");
};

}  // namespace

TEST_F(XFileCorpus, WellFormedFilesGiveTheirCountsAndTheirExportersNormals) {
    const struct {
        const char* name;
        size_t vertices, triangles;
        std::vector<uint32_t> subsetTriangles;
        bool litFormat;
        bool flatNormals = false;  // generating normals from the winding gives the file's
    } files[] = {
        {"test.x", 24, 12, {12}, true, true},
        {"kwxport_test_cubewithvcolors.x", 24, 12, {2, 2, 8}, false, true},
        {"anim_test.x", 1720, 840, {840}, true},
        {"BCN_Epileptic.X", 1170 + 1196 + 648, 1966 + 2036 + 1124, {1966, 2036, 1124}, true},
        {"Testwuson.X", 3205, 3732, {3732}, true},
        {"fromtruespace_bin32.x", 4132, 6656, {6656}, true},
    };
    // (test_cube_text.x has flat normals too, but its root frame mirrors y and z, which turns the
    // winding against the normals, as it would in any loader that applies frames.)
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        XMeshData m = Mesh(f.name);
        EXPECT_EQ(m.vertices.size(), f.vertices);
        EXPECT_EQ(m.TriangleCount(), f.triangles);
        ASSERT_EQ(m.subsets.size(), f.subsetTriangles.size());
        ASSERT_EQ(m.materials.size(), f.subsetTriangles.size());
        for (size_t i = 0; i < m.subsets.size(); ++i)
            EXPECT_EQ(m.subsets[i].triangleCount, f.subsetTriangles[i]) << i;
        EXPECT_EQ(m.FileIsLitVertexFormat(), f.litFormat);
        for (uint32_t index : m.indices) ASSERT_LT(index, m.vertices.size());
        if (!f.flatNormals) continue;
        XMeshData made = m;  // front faces clockwise
        ComputeXMeshNormals(made);
        for (size_t i = 0; i < m.vertices.size(); ++i) {
            EXPECT_NEAR(made.vertices[i].nx, m.vertices[i].nx, 1e-4) << i;
            EXPECT_NEAR(made.vertices[i].ny, m.vertices[i].ny, 1e-4) << i;
            EXPECT_NEAR(made.vertices[i].nz, m.vertices[i].nz, 1e-4) << i;
        }
    }
}

TEST_F(XFileCorpus, MaterialsAndTextureNamesAsWritten) {
    XMeshData kw = Mesh("kwxport_test_cubewithvcolors.x");
    ASSERT_EQ(kw.materials.size(), 3u);
    const char* textures[] = {"\\\\bottom.tga", "\\\\top.tga", "\\\\updown.tga"};
    const float powers[] = {31, 53, 57};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(kw.materials[i].textureFilename.starts_with("C:\\\\code\\\\"));
        EXPECT_TRUE(kw.materials[i].textureFilename.ends_with(textures[i]));
        EXPECT_NEAR(kw.materials[i].material.power, powers[i], 1e-4);
    }
    // No material lists: one white material per mesh.
    for (const XMeshMaterial& w : Mesh("BCN_Epileptic.X").materials)
        EXPECT_EQ(w.material.diffuse.r + w.material.diffuse.a, 2.0f);
}

TEST_F(XFileCorpus, TextBinaryAndCompressedCubesAreTheSameMesh) {
    XMeshData text = Mesh("test_cube_text.x");
    XMeshData binary = Mesh("test_cube_binary.x");
    XMeshData zipped = Mesh("test_cube_compressed.x");
    ASSERT_EQ(text.vertices.size(), binary.vertices.size());
    ASSERT_EQ(zipped.vertices.size(), binary.vertices.size());
    EXPECT_EQ(0, std::memcmp(zipped.vertices.data(), binary.vertices.data(),
                             binary.vertices.size() * sizeof(XMeshVertex)));
    for (size_t i = 0; i < text.vertices.size(); ++i) {
        const float* a = &text.vertices[i].x;
        const float* b = &binary.vertices[i].x;
        for (int k = 0; k < 8; ++k) EXPECT_NEAR(a[k], b[k], 1e-6) << i << "." << k;
    }
    EXPECT_EQ(text.indices, binary.indices);
    EXPECT_EQ(zipped.indices, binary.indices);
}

TEST_F(XFileCorpus, MalformedFilesAreRefused) {
    const struct {
        const char* name;
        const char* reason;
    } files[] = {
        {"malformed_skinweights_oob.x", "skin weight for vertex 1000000 of 24"},
        {"OV_GetNextToken", "compressed data: "},
    };
    for (auto [name, reason] : files) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadAll(dir + "/" + name);
        ASSERT_FALSE(bytes.empty());
        const std::string error = MustRefuse(bytes);
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}
