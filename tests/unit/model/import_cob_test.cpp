#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "base/message_box.h"
#include "base/sjis.h"
#include "import_test_util.h"
#include "model/importers/import_cob.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// A chunk: its header with the size of its body, then the body; `sizeSkew` makes the written
// size lie, as some writers' do.
std::string Chunk(const std::string& type, long id, long parent, const std::string& body,
                  long sizeSkew = 0) {
    char size[16];
    std::snprintf(size, sizeof size, "%08ld", long(body.size()) + sizeSkew);
    return type + " V0.08 Id " + std::to_string(id) + " Parent " + std::to_string(parent) +
           " Size " + size + body;
}

// A polygon object of 4 vertices, 2 texture vertices and the given face lines.
std::string PolH(const std::string& faces, int faceCount, const std::string& tail) {
    return "\nName Cube with a long name\ncenter 0 0 0\nx axis 1 0 0\ny axis 0 1 0\n"
           "z axis 0 0 1\nTransform\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"
           "World Vertices 4\n1.5 2.5 3.5\n0 0 0\n1 0 0\n0 1 0\n"
           "Texture Vertices 2\n0.25 0.75\n1 1\nFaces " +
           std::to_string(faceCount) + "\n" + faces + tail;
}

std::string Mat1(int index, const std::string& rgb, const std::string& texture = "") {
    return "\nmat# " + std::to_string(index) + "\nshader: phong  facet: auto40\nrgb " + rgb +
           "\nalpha 1  ka 0.1  ks 0.1  exp 0  ior 1\n" + texture;
}

const std::string kFaces =
    "Face verts 3 flags 0 mat 0\n<0,0> <1,1> <2,1> \nFace verts 4 flags 0 mat 2\n"
    "<0,1> <1,0> <2,0> <3,1> \n";

std::string CobSample(const std::string& faces = kFaces, int faceCount = 2) {
    return "Caligari V00.01ALH             \n" + Chunk("BitM", 0, 0, "\nThumbNailHdrSize 40\n") +
           Chunk("PolH", 7, 0, PolH(faces, faceCount, "DrawFlags 0\n")) +
           Chunk("Unit", 8, 7, "\nUnits 2\n") +
           // This material's size counts 6 characters too few.
           Chunk("Mat1", 9, 7, Mat1(2, "1.0,0.5,0.25"), -6) +
           Chunk("ShBx", 10, 9, "\nShader class: color\n") +
           Chunk("Mat1", 11, 7,
                 Mat1(1, "0.2,0.4,0.6",
                      "texture: 23D:\\my textures\\wood.bmp\noffset 0,0 repeats 1,1 flags 2\n")) +
           Chunk("PolH", 12, 0, PolH("", 0, "")) + Chunk("Mat1", 13, 12, Mat1(3, "1,1,1"), -6) +
           Chunk("ShBx", 14, 13, "\nShader class: color\n") +
           "END  V1.00 Id 0 Parent 0 Size        0\n";
}

using CobImport = ImportTest;

}  // namespace

TEST_F(CobImport, TheFirstPolygonObjectAndItsMaterials) {
    ASSERT_TRUE(LoadBytes("cube.COB", CobSample()));
    ASSERT_EQ(model->meshes.size(), 1u);
    ASSERT_EQ(model->vertices.size(), 4u);
    // The file's second and third values trade places.
    EXPECT_VEC_NEAR(model->vertices[0].position, 1.5f, 3.5f, 2.5f, 1e-6);
    const std::vector<RZ_Face>& faces = model->meshes[0].faces;
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[1].material, 2);
    EXPECT_THAT(std::vector<int>(faces[1].uvIndex, faces[1].uvIndex + 4), ElementsAre(1, 0, 0, 1));
    EXPECT_FLOAT_EQ(model->materials[2].green, 0.5f);
    // The second object's material is not ours.
    EXPECT_FLOAT_EQ(model->materials[3].red, 0.0f);
    EXPECT_EQ(model->materialCount, 3);
    // The texture name is as long as the number before it says, blanks included.
    EXPECT_THAT(Tried(), ElementsAre("wood.bmp"));
    EXPECT_NE(model->materials[1].texture, nullptr);
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(CobImport, FacesBeyondTheLimitsFailTheWholeImport) {
    EXPECT_FALSE(ImportCobText(
        *model, device.get(),
        CobSample("Face verts 5 flags 0 mat 0\n<0,0> <1,0> <2,0> <3,0> <0,1>\n", 1), nullptr));
    EXPECT_EQ(RZ_TakeImportFailure(), "５角形以上のポリゴンが含まれています！");
    EXPECT_FALSE(ImportCobText(*model, device.get(),
                               CobSample("Face verts 3 flags 0 mat 32\n<0,0> <1,0> <2,0>\n", 1),
                               nullptr));
    EXPECT_EQ(RZ_TakeImportFailure(),
              "フェースデータのマテリアル番号がマテリアル最大数を超えています！");
    EXPECT_FALSE(ImportCobText(*model, device.get(),
                               CobSample("Face verts 3 flags 0 mat 0\n<0,0> <4,0> <2,0>\n", 1),
                               nullptr));
    EXPECT_THAT(RZ_TakeImportFailure(), HasSubstr("<4,0> outside 4 vertices"));
    std::string bigMaterial = CobSample();
    bigMaterial.replace(bigMaterial.find("mat# 2"), 6, "mat# 40");
    EXPECT_FALSE(ImportCobText(*model, device.get(), bigMaterial, nullptr));
    EXPECT_THAT(RZ_TakeImportFailure(), HasSubstr("マテリアル数 = 40"));
}

TEST_F(CobImport, OtherFilesAreRefusedAndNoCutReadsPastTheEnd) {
    EXPECT_FALSE(LoadBytes("x.cob", "caligari V00.01ALH\n"));
    EXPECT_EQ(RZ_LastError.detail, "COBファイルじゃないかも？");
    EXPECT_FALSE(LoadBytes("x.cob", "Caligari V00.01BLH\nPolH\x01\x00\x08\x00"));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("binary"));
    EXPECT_TRUE(g_MessageBoxLog.empty());
    // Text mode: CR LF reads as a line feed.
    std::string crlf;
    for (char c : CobSample()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(ImportCobText(*model, device.get(), crlf, nullptr));
    EXPECT_EQ(model->meshes.at(0).faces.size(), 2u);

    const std::string whole = CobSample();
    const size_t end = whole.find("END ") + std::strlen("END  V1.00 Id 0 Parent 0 Size        0");
    // Cut in the header, in the polygon object, just before and at the end of its END chunk (the
    // import-cob fuzz target tries the other cuts).
    for (size_t n : {size_t(10), end / 2, end - 1, end, whole.size()}) {
        RZ_Model m;
        EXPECT_EQ(ImportCobText(m, device.get(), whole.substr(0, n), nullptr), n >= end) << n;
    }
}
