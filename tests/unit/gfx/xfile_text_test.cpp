#include <cmath>

#include "gfx_test_files.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string ReadError(const std::string& text) {
    SCOPED_TRACE(text);
    return MustRefuse(Bytes(text));
}

// Position (p) or normal (n) of a vertex against three values.
::testing::AssertionResult At(const XMeshVertex& v, char which, float x, float y, float z) {
    const float* f = which == 'p' ? &v.x : &v.nx;
    if (std::fabs(f[0] - x) < 1e-5f && std::fabs(f[1] - y) < 1e-5f && std::fabs(f[2] - z) < 1e-5f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << which << " = " << f[0] << " " << f[1] << " " << f[2];
}

const std::string kTri = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";

}  // namespace

TEST(XFileText, NestedFramesApplyChildThenParentAndScaleNormalsUnnormalised) {
    XMeshData m = MustRead(Fixture("frames.x"));
    ASSERT_EQ(m.vertices.size(), 3u);
    ASSERT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_TRUE(At(m.vertices[0], 'p', 20, 5, 0));
    EXPECT_TRUE(At(m.vertices[1], 'p', 22, 5, 0));
    EXPECT_TRUE(At(m.vertices[2], 'p', 20, 6, 0));
    // (1, 1, 0) through the parent's x scale of 2, kept as long as that makes it.
    for (auto& v : m.vertices) EXPECT_TRUE(At(v, 'n', 2, 1, 0));
    EXPECT_TRUE(m.FileIsLitVertexFormat());
    ASSERT_EQ(m.materials.size(), 1u);  // no list: one white material
    EXPECT_FLOAT_EQ(m.materials[0].material.diffuse.g, 1.0f);
}

TEST(XFileText, MaterialsByNameInlineAndDefaultGiveOffsetSubsets) {
    XMeshData m = MustRead(Fixture("materials.x"));
    ASSERT_EQ(m.materials.size(), 5u);
    ASSERT_EQ(m.subsets.size(), 5u);
    const Material& shared = m.materials[0].material;
    EXPECT_FLOAT_EQ(shared.diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(shared.power, 8.0f);
    EXPECT_EQ(m.materials[0].textureFilename, "tex\\\\shared.bmp");  // bytes as written
    EXPECT_FLOAT_EQ(m.materials[1].material.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(m.materials[2].material.diffuse.b, 1.0f);  // white default
    EXPECT_FLOAT_EQ(m.materials[3].material.diffuse.g, 1.0f);  // { Inline } from another mesh
    EXPECT_FLOAT_EQ(m.materials[4].material.diffuse.r, 0.2f);

    const uint32_t counts[] = {0, 2, 1, 1, 1};
    uint32_t first = 0;
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(m.subsets[i].firstTriangle, first) << i;
        EXPECT_EQ(m.subsets[i].triangleCount, counts[i]) << i;
        first += counts[i];
    }
    // The third mesh starts at vertex 7; its second face (material 0) sorts before its first.
    EXPECT_EQ(std::vector<uint32_t>(m.indices.begin() + 9, m.indices.end()),
              (std::vector<uint32_t>{7, 9, 10, 7, 8, 9}));
}

TEST(XFileText, MissingNormalsAreUnitFaceAveragesAndPolygonsFan) {
    XMeshData m = MustRead(Fixture("no_normals.x"));
    EXPECT_FALSE(m.fileHasNormals);
    ASSERT_EQ(m.vertices.size(), 9u);
    ASSERT_EQ(m.TriangleCount(), 5u);
    // The shared edge gets the mean of both directions although one face is four times larger.
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(At(m.vertices[0], 'n', -h, 0, -h));
    EXPECT_TRUE(At(m.vertices[1], 'n', -h, 0, -h));
    EXPECT_TRUE(At(m.vertices[2], 'n', 0, 0, -1));
    EXPECT_EQ(std::vector<uint32_t>(m.indices.begin() + 6, m.indices.end()),
              (std::vector<uint32_t>{4, 5, 6, 4, 6, 7, 4, 7, 8}));
    for (size_t i = 4; i < 9; ++i) EXPECT_TRUE(At(m.vertices[i], 'n', 0, 1, 0));
}

TEST(XFileText, SubsetsDrawWithRebasedSixteenBitIndices) {
    XMeshData m = MustRead(Fixture("materials.x"));
    std::vector<uint16_t> idx;
    uint32_t minIndex, count;
    ASSERT_TRUE(XMeshSubsetIndices16(m, 4, idx, minIndex, count));
    EXPECT_EQ(minIndex, 7u);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(idx, (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_FALSE(XMeshSubsetIndices16(m, 0, idx, minIndex, count));  // no triangles
    EXPECT_FALSE(XMeshSubsetIndices16(m, 5, idx, minIndex, count));  // no such subset

    // A subset whose vertices lie further apart than 16 bits reach.
    XMeshData wide;
    wide.vertices.resize(70000);
    wide.indices = {0, 1, 69999};
    wide.subsets = {{0, 1}};
    EXPECT_FALSE(XMeshSubsetIndices16(wide, 0, idx, minIndex, count));
    wide.indices = {69000, 69001, 69999};
    ASSERT_TRUE(XMeshSubsetIndices16(wide, 0, idx, minIndex, count));
    EXPECT_EQ(idx, (std::vector<uint16_t>{0, 1, 999}));
}

TEST(XFileText, VertexUsedWithTwoNormalsIsSplit) {
    XMeshData m =
        MustRead(Bytes("xof 0303txt 0032 Mesh { 4; 0;0;0;, 0;1;0;, 1;0;0;, 1;1;0;;"
                       " 2; 3;0,1,2;, 3;2,1,3;;"
                       " MeshNormals { 2; 0;0;-1;, 0;1;0;; 2; 3;0,0,0;, 3;0,1,1;; } }"));
    // Vertex 1 and 2 keep their first normal; the second face gets a copy of vertex 1 with the
    // other normal, vertex 2 stays shared.
    ASSERT_EQ(m.vertices.size(), 5u);
    EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 2, 4, 3}));
    EXPECT_TRUE(At(m.vertices[4], 'p', 0, 1, 0));
    EXPECT_TRUE(At(m.vertices[4], 'n', 0, 1, 0));
    EXPECT_TRUE(At(m.vertices[1], 'n', 0, 0, -1));
}

TEST(XFileText, ShiftJisTextureNamesKeepEveryByte) {
    // "表.bmp": the trail byte of the first character is '\'.
    std::string name = "Q3D\\\x95\x5C.bmp";
    XMeshData m = MustRead(Bytes("xof 0303txt 0032 Mesh {" + kTri +
                                 " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;;"
                                 " 0;0;0;; TextureFilename { \"" +
                                 name + "\"; } } } }"));
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_EQ(m.materials[0].textureFilename, name);
}

TEST(XFileText, DamagedFilesAreRefusedWithTheReason) {
    const std::string h = "xof 0303txt 0032\n";
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"xof 0303txt", "no \"xof \" header"},
        {"xof 0303txt 0016 Mesh {}", "unknown float size"},
        {h, "no mesh"},
        {h + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }", "uses vertex 3 of 3"},
        {h + "Mesh { 4000000000; 0;0;0;; }", "over the limit"},
        {h + "Mesh { 1000; 0;0;0;; }", "more than the rest of the file holds"},
        {h + "Mesh { 1; 1e999;0;0;; }", "out of range"},
        {h + "Mesh { 1; 0;0;0;, \"unclosed; }", "closing quote"},
        {h + "Mesh {" + kTri + " MeshMaterialList { 1; 1; 0;; { Nowhere } } }",
         "'Nowhere' is referred to but never defined"},
        {h + "Mesh {" + kTri + " MeshMaterialList { 1; 1; 1;; } }", "uses material 1 of 1"},
        {h + "Mesh {" + kTri + " MeshMaterialList { 1; 2; 0,0;; } }", "2 face materials for 1"},
        {h + "Mesh {" + kTri + " MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; } }",
         "normals list 2 faces"},
        {h + "Mesh {" + kTri + " MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }", "uses normal 1 of 1"},
        {h + "Mesh {" + kTri + " MeshTextureCoords { 2; 0;0;, 0;0;; } }",
         "2 texture coordinates for 3"},
        {h + "Mesh {" + kTri +
             " SkinWeights { \"b\"; 1; 7; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }",
         "skin weight for vertex 7 of 3"},
        {h + "Frame { Mesh { <abc } }", "closing '>'"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ReadError(c.text).find(c.reason), std::string::npos)
            << c.text << "\n -> " << ReadError(c.text);
}

TEST(XFileText, ErrorsSayWhereAndFramesCannotNestWithoutEnd) {
    std::string error = ReadError("xof 0303txt 0032\nMesh {\n 3;\n 0;0;0;, 0;0;0;;\n}");
    EXPECT_EQ(error.rfind("line 5: ", 0), 0u) << error;  // the '}' that cut the list short

    std::string deep = "xof 0303txt 0032\n";
    for (int i = 0; i < 100000; ++i) deep += "Frame {";
    EXPECT_NE(ReadError(deep).find("nested too deep"), std::string::npos);
}

TEST_F(HeadlessHostTest, LoadsThroughTheGamePathResolver) {
    XMeshData m;
    std::string error;
    // Case differs from the file on disk: game paths match either way.
    EXPECT_TRUE(LoadXMeshFile(FixturesDir() + "/xfile/FRAMES.X", m, error)) << error;
    EXPECT_EQ(m.vertices.size(), 3u);
    EXPECT_FALSE(LoadXMeshFile(FixturesDir() + "/xfile/absent.x", m, error));
    EXPECT_NE(error.find("absent.x: cannot open"), std::string::npos) << error;
    EXPECT_TRUE(m.vertices.empty());
}
