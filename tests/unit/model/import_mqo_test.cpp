#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/message_box.h"
#include "base/sjis.h"
#include "import_test_util.h"
#include "model/importers/import_mqo.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string kHeader = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nScene {\r\n}\r\n";

std::string Materials(int count) {
    std::string s = "Material " + std::to_string(count) + " {\n";
    for (int i = 0; i < count; ++i) {
        s += "\t\"m" + std::to_string(i) + "\" col(0.5 0.25 " + std::to_string(i / 100.0) +
             " 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)\n";
    }
    return s + "}\n";
}

// A quad with texture coordinates and a part of a later program version, and a hidden object
// whose vertex numbers are its own.
const std::string kObjects =
    "Object \"first one\" {\n\tvisible 15\n\tfacet 59.5\n"
    "\tvertex 4 {\n\t\t1 2 3\n\t\t-10 0 0\n\t\t0 10 0\n\t\t0 0 10\n\t}\n"
    "\tface 1 {\n\t\t4 V(0 1 2 3) M(1) UV(0 0 1 0 1 1 0 1) COL(1 2 3 4)\n\t}\n}\n"
    "Object \"second\" {\n\tvisible 0\n\tvertex 3 {\n\t\t5 5 5\n\t\t6 6 6\n\t\t7 7 7\n\t}\n"
    "\tface 2 {\n\t\t3 V(2 1 0) M(2)\n\t\t2 V(0 1)\n\t}\n}\nEof\n";

class MqoImport : public ImportTest {
protected:
    bool Import(const std::string& text) {
        return ImportMqoText(*model, device.get(), text, nullptr);
    }
};

}  // namespace

TEST_F(MqoImport, ObjectsBecomeMeshesOverOnePoolOfScaledVertices) {
    ASSERT_TRUE(Import(kHeader + Materials(3) + kObjects));
    ASSERT_EQ(model->meshes.size(), 2u);
    EXPECT_EQ(model->meshes[1].visible, 0);
    ASSERT_EQ(model->vertices.size(), 7u);
    EXPECT_VEC_NEAR(model->vertices[0].position, -1.024f, 2.048f, 3.072f, 1e-5);
    const RZ_Face& quad = model->meshes[0].faces.at(0);
    EXPECT_EQ(quad.material, 1);
    EXPECT_FLOAT_EQ(model->uvs[quad.uvIndex[2]].u, 1.0f);
    // The second object's vertex numbers start after the first object's vertices.
    const RZ_Face& tri = model->meshes[1].faces.at(0);
    EXPECT_THAT(std::vector<int>(tri.vertexIndex, tri.vertexIndex + 3), ElementsAre(6, 5, 4));
    EXPECT_EQ(model->meshes[1].faces.at(1).cornerCount, 2);
    EXPECT_EQ(model->uvs.at(tri.uvIndex[0]).v, 0.0f);  // no coordinates: (0, 0)
    EXPECT_FLOAT_EQ(model->materials[2].blue, 0.02f);
}

TEST_F(MqoImport, BinaryVertexBlocksAndTextures) {
    Bytes floats;
    for (float f : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}) floats.F32(f);
    // Binary bytes that look like braces and line breaks are jumped over.
    floats.U8('}').U8('\n').U8('{').U8(0x41);
    const std::string text =
        kHeader +
        "material 2 {\n\"skin\" col(1 1 1 1) tex(\"C:\\art\\skin.bmp\") shader(3) "
        "proj_pos(0 0 0)\n\"plain\" col(0 1 0 1) tex(\"\")\n}\n"
        "Object \"bin\" {\n\tBVertex 2 {\n\t\tVector 2 [24]\n" +
        floats.s.substr(0, 24) + "\n\t}\n\tface 1 {\n\t\t2 V(1 0)\n\t}\n}\n" +
        "Object \"x\" {\n\tbvertex 1 {\n\t\tVector 1 [12]\n" + floats.s.substr(16) + "\n\t}\n}\n";
    model->SetDirectory("chara\\");
    ASSERT_TRUE(Import(text));
    ASSERT_EQ(model->vertices.size(), 3u);
    EXPECT_VEC_NEAR(model->vertices[1].position, -4.096f, 5.12f, 6.144f, 1e-5);
    // The attributes of later versions did not start materials of their own.
    EXPECT_FLOAT_EQ(model->materials[1].green, 1.0f);
    EXPECT_THAT(Tried(), ElementsAre("chara\\skin.bmp"));
    EXPECT_EQ(model->materials[1].texture, nullptr);

    std::string wrong = text;
    wrong.replace(wrong.find("[24]"), 4, "[25]");
    EXPECT_FALSE(Import(wrong));
    EXPECT_FALSE(Import(text.substr(0, text.find("\n\t}\n\tface"))));
}

TEST_F(MqoImport, ThirtyOneMaterialsLoadAndThirtyTwoAreRefused) {
    ASSERT_TRUE(Import(kHeader + Materials(31) + kObjects));
    EXPECT_EQ(model->materialCount, 31);
    EXPECT_FLOAT_EQ(model->materials[30].blue, 0.3f);
    EXPECT_FALSE(LoadBytes("many.MQO", kHeader + Materials(32) + kObjects));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("マテリアル数 = 32"));
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(MqoImport, WrongFilesAndBrokenObjectsAreRefused) {
    EXPECT_FALSE(LoadBytes("a.mqo", "Metasequoia document\nFormat\n"));
    EXPECT_FALSE(LoadBytes("a.mqo", kHeader + kObjects));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"MQOﾌｧｲﾙでは、ありません！",
                                                    "マテリアル(材質)データを設定して下さい!"}));

    const std::string base = kHeader + Materials(3) + "Object \"o\" {\nvertex 2 {\n0 0 0\n1 1 1\n";
    for (auto [body, why] : std::vector<std::pair<std::string, std::string>>{
             {"}\nface 1 {\n5 V(0 1 0 1 0)\n}\n}\n", "5 corners"},
             {"}\nface 1 {\n2 V(0 2)\n}\n}\n", "vertex 2 of 2"},
             {"}\nface 1 {\n2 V(0 1) M(32)\n}\n}\n", "material 32"},
             {"2 2 2\n}\n}\n", "more vertices than its count"},
             {"}\nface 2 {\n2 V(0 0)\n}\n}\n", "number expected in a face"}}) {
        EXPECT_FALSE(Import(base + body)) << why;
        EXPECT_THAT(RZ_TakeImportFailure(), HasSubstr(why));
    }
    std::string many;
    for (int i = 0; i < 257; ++i) many += "Object \"o\" {\n}\n";
    EXPECT_FALSE(Import(kHeader + Materials(1) + many));
    EXPECT_TRUE(Import(kHeader + Materials(1) + many.substr(0, many.size() / 257 * 256)));

    const std::string whole = kHeader + Materials(3) + kObjects;
    // Cut in the header, the materials, an object and its last byte: no read past the end (the
    // import-mqo fuzz target tries the other cuts).
    for (size_t n : {kHeader.size() / 2, kHeader.size() + 10, whole.size() / 2, whole.size() - 1}) {
        RZ_Model m;
        ImportMqoText(m, device.get(), whole.substr(0, n), nullptr);
    }
}
