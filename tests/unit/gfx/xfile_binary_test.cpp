#include "gfx_test_files.h"
#include "xfile_writer.h"

namespace {

void ExpectSame(const XMeshData& a, const XMeshData& b) {
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(),
                             a.vertices.size() * sizeof(XMeshVertex)));
    EXPECT_EQ(a.indices, b.indices);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (size_t i = 0; i < a.materials.size(); ++i) {
        EXPECT_EQ(
            0, std::memcmp(&a.materials[i].material, &b.materials[i].material, sizeof(Material)));
        EXPECT_EQ(a.materials[i].textureFilename, b.materials[i].textureFilename);
    }
    ASSERT_EQ(a.subsets.size(), b.subsets.size());
    for (size_t i = 0; i < a.subsets.size(); ++i)
        EXPECT_EQ(a.subsets[i].triangleCount, b.subsets[i].triangleCount);
}

// The binary form of fixtures/xfile/frames.x, template included.
std::vector<uint8_t> FramesBinary(bool doubles) {
    XBinaryWriter w(doubles);
    w.Token(0x1f).Name("Note").Open().Token(5).Raw(
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    w.Token(0x31).Name("text").Token(0x14).Token(0x0e).Token(0x12).Token(0x12).Token(0x12);
    w.Token(0x0f).Close();
    w.Name("Header").Open().Ints({1, 0, 1}).Close();
    w.Name("KeyValuePair").Open().String("brace { in a string").String("}").Close();
    w.Name("Frame").Name("Parent").Open();
    w.Name("FrameTransformMatrix").Open();
    w.Floats({2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1}).Close();
    w.Name("Frame").Name("Child").Open();
    w.Name("FrameTransformMatrix").Name("relative").Open();
    w.Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}).Close();
    w.Name("Mesh").Name("Tri").Open().Ints({3}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    w.Ints({1}).Token(3).Raw({3, 0, 0, 0}).Ints({0, 1, 2});  // a lone integer token too
    w.Name("MeshNormals").Open().Ints({1}).Floats({1, 1, 0}).Ints({1, 3, 0, 0, 0}).Close();
    w.Name("MeshTextureCoords").Open().Ints({3}).Floats({0, 0, 1, 0, 0, 1}).Close();
    w.Name("Unknown").Open().Open().Name("Tri").Close().Ints({1, 2}).String("}}");
    w.Name("Deeper").Open().Ints({3}).Close().Close();
    w.Close().Close().Close();
    return w.File();
}

}  // namespace

TEST(XFileBinary, BinaryAndCompressedFormsGiveTheTextMesh) {
    const XMeshData text = MustRead(Fixture("frames.x"));
    ExpectSame(MustRead(FramesBinary(true)), text);  // 64-bit floats, which no corpus file has
    // Blocks of 7 bytes: every block leans on the ones before it.
    ExpectSame(MustRead(CompressXFile(FramesBinary(false), 7)), text);
}

TEST(XFileBinary, DamagedBinaryIsRefusedWithoutReadingPastTheEnd) {
    auto mesh = [] { return XBinaryWriter().Name("Mesh").Open(); };
    const struct {
        std::vector<uint8_t> file;
        const char* reason;
    } cases[] = {
        {XBinaryWriter().Raw({1}).File(), "token cut off"},
        {XBinaryWriter().Raw({1, 0, 0xff, 0xff, 0xff, 0x7f, 'M'}).File(), "longer than the file"},
        {mesh().Raw({7, 0, 0xff, 0xff, 0xff, 0x3f, 0, 0}).File(), "list longer than the file"},
        {mesh().Ints({1000}).Floats({0, 0, 0}).File(), "more than the rest of the file holds"},
        {mesh().Raw({0x99, 0}).File(), "unknown binary token"},
        {mesh().Ints({1}).Floats({0, 0, 1e300}).File(), "not a finite single-precision"},
        {mesh().Ints({1}).Floats({0, 0}).Name("x").File(), "name 'x' where a vertex"},
    };
    for (const auto& c : cases) {
        const std::string error = MustRefuse(c.file);
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.reason << " -> " << error;
        EXPECT_EQ(error.rfind("byte ", 0), 0u) << error;
    }
    // 64-bit floats beyond the single-precision range are refused, not converted.
    auto big = XBinaryWriter(true).Name("Mesh").Open().Ints({1}).Floats({0, 0, 1e300}).File();
    EXPECT_NE(MustRefuse(big).find("not a finite"), std::string::npos);
}

TEST(XFileBinary, DamagedCompressionIsRefused) {
    const std::vector<uint8_t> good = CompressXFile(FramesBinary(false), 100);
    auto damaged = [&](auto change) {
        std::vector<uint8_t> f = good;
        change(f);
        const std::string error = MustRefuse(f);
        EXPECT_EQ(error.rfind("compressed data: ", 0), 0u) << error;
        return error;
    };
    EXPECT_NE(damaged([](auto& f) { f[24] = 'X'; }).find("\"CK\""), std::string::npos);
    EXPECT_NE(damaged([](auto& f) { f[19] = 0x7f; }).find("over the limit"), std::string::npos);
    auto declare = [](std::vector<uint8_t>& f, uint32_t size) {
        for (int i = 0; i < 4; ++i) f[16 + i] = static_cast<uint8_t>(size >> (8 * i));
    };
    EXPECT_NE(damaged([&](auto& f) { declare(f, 16 + 50000); }).find("ends after"),
              std::string::npos);
    EXPECT_NE(damaged([](auto& f) { f[20] = 99; }).find("inflates to more than its 99"),
              std::string::npos);
}
