#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "base/message_box.h"
#include "base/sjis.h"
#include "import_test_util.h"
#include "model/importers/import_mx.h"

using ::testing::HasSubstr;

namespace {

using Polygon = std::array<Vector3, 4>;

Bytes& U32(Bytes& b, uint32_t v) {
    return b.U16(int(v & 0xFFFF)).U16(int(v >> 16));
}

// An mx file: the header, then the polygon records, then the layer table; each layer lists
// (first polygon, polygon count).
std::string Mx(const std::vector<Polygon>& polygons, const std::vector<std::pair<int, int>>& layers,
               uint32_t version = 0x100) {
    const uint32_t polygonOffset = 32;
    const uint32_t layerOffset = polygonOffset + uint32_t(polygons.size()) * 168;
    Bytes b;
    b.Text(std::string("MXF\0", 4));
    U32(b, version);
    U32(b, uint32_t(layers.size()) * 60);
    U32(b, layerOffset);
    U32(b, uint32_t(polygons.size()) * 168);
    U32(b, polygonOffset);
    U32(b, 0);
    U32(b, 0);
    for (const Polygon& p : polygons) {
        for (const Vector3& c : p) b.F32(c.x).F32(c.y).F32(c.z).F32(99.0f);
        b.Text(std::string(64, '\x7f'));
        for (int i = 0; i < 8; ++i) b.F32(0.5f);
        b.Text(std::string(8, '\0'));
    }
    for (auto [first, count] : layers) {
        b.Text(std::string(50, '\0'));
        b.U16(count);
        U32(b, uint32_t(first));
        b.Text(std::string(4, '\0'));
    }
    return b.s;
}

const Polygon kQuad = {Vector3{10, 20, 30}, Vector3{40, 50, 60}, Vector3{70, 80, 90},
                       Vector3{0, 0, 0}};
// A triangle is stored with its fourth corner repeating the third.
const Polygon kTriangle = {Vector3{1, 2, 3}, Vector3{4, 5, 6}, Vector3{7, 8, 9}, Vector3{7, 8, 9}};

using MxImport = ImportTest;

}  // namespace

TEST_F(MxImport, LayersPolygonsAndTheRepeatedCorner) {
    ASSERT_TRUE(LoadBytes("shape.Mx", Mx({kQuad, kTriangle, kQuad}, {{0, 2}, {2, 1}})));
    ASSERT_EQ(model->meshes.size(), 2u);
    EXPECT_EQ(ToUtf8(model->meshes[0].name), "ﾚｲﾔｰ[0]");
    ASSERT_EQ(model->meshes[0].faces.size(), 2u);
    EXPECT_EQ(model->meshes[0].faces[1].cornerCount, 3);
    // Every corner is a vertex of its own.
    ASSERT_EQ(model->vertices.size(), 11u);
    EXPECT_VEC_NEAR(model->vertices[0].position, -1, 2, 3, 1e-5);
    EXPECT_VEC_NEAR(model->vertices[6].position, -0.7f, 0.8f, 0.9f, 1e-6);
    EXPECT_EQ(model->meshes[1].faces[0].vertexIndex[3], 10);
    EXPECT_FLOAT_EQ(model->materials[0].green, 0.5f);
}

TEST_F(MxImport, WrongFilesAreRefusedWithTheirMessage) {
    EXPECT_FALSE(LoadBytes("a.mx", "MXG" + Mx({kQuad}, {{0, 1}}).substr(3)));
    EXPECT_FALSE(LoadBytes("a.mx", Mx({kQuad}, {{0, 1}}, 0x101)));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"MXﾌｧｲﾙでは、ありません！",
                                                    "このバージョンは対応していません！"}));

    // Layers that reach past the polygons, and polygons collapsed to one point.
    EXPECT_FALSE(LoadBytes("a.mx", Mx({kQuad}, {{0, 2}})));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("outside the file"));
    EXPECT_FALSE(LoadBytes("a.mx", Mx({kQuad}, {{-1, 1}})));
    const Polygon point = {Vector3{1, 1, 1}, Vector3{1, 1, 1}, Vector3{1, 1, 1}, Vector3{1, 1, 1}};
    ASSERT_TRUE(LoadBytes("a.mx", Mx({point, kTriangle}, {{0, 2}})));
    EXPECT_EQ(std::tuple(model->meshes[0].faces.size(), model->vertices.size()),
              std::tuple(1u, 3u));

    const std::string whole = Mx({kQuad, kTriangle}, {{0, 1}, {1, 1}});
    // (The import-mx fuzz target tries the cuts between these.)
    for (size_t n : {size_t(2), whole.size() / 2, whole.size() - 1}) {
        RZ_Model m;
        EXPECT_EQ(ImportMxBytes(m, whole.substr(0, n)), false) << n;
    }
}
