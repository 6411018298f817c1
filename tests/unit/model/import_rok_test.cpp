#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/message_box.h"
#include "base/sjis.h"
#include "import_test_util.h"
#include "model/importers/import_rok.h"
#include "model/rz_model_load.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct RokPolygon {
    int material;
    std::vector<int> edges;  // from 1
};

// A rok file: points, edges (point numbers from 1), polygons and 13 colours, lines ended by eol.
std::string Rok(const std::vector<Vector3>& points, const std::vector<std::pair<int, int>>& edges,
                const std::vector<RokPolygon>& polygons, const std::string& eol = "\r") {
    std::string s;
    auto line = [&](const auto& v) { s += std::string(v) + eol; };
    auto num = [&](auto v) { line(std::to_string(v)); };
    line("rok model");
    line("POINT");
    for (const Vector3& p : points) {
        for (int i = 0; i < 5; ++i) line("0");
        num(p.x), num(p.y), num(p.z);
    }
    line("LINE0");
    for (auto [a, b] : edges) num(a), num(b), line("0"), line("0");
    line("FACE0");
    for (const RokPolygon& p : polygons) {
        num(p.edges.size()), num(p.material), line("0");
        for (int e : p.edges) num(e);
    }
    line("END00");
    for (int i = 0; i < 3; ++i) line("");
    for (int m = 0; m < 13; ++m) {
        num(m * 10), line("255"), line("51");
        for (int i = 0; i < 4; ++i) line("");
    }
    return s;
}

// A triangle (points 1-3) whose edges are listed so that the points first appear as 2, 3, 1,
// and a quad of points 3, 1, 4, 5.
std::string RokSample(const std::string& eol = "\r") {
    return Rok({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}},
               {{2, 3}, {3, 1}, {1, 2}, {3, 4}, {4, 5}, {5, 1}},
               {{2, {1, 2, 3}}, {12, {2, 4, 5, 6}}}, eol);
}

std::vector<uint16_t> Corners(const RZ_Face& f) {
    return std::vector<uint16_t>(f.vertexIndex, f.vertexIndex + f.cornerCount);
}

using RokImport = ImportTest;

}  // namespace

TEST_F(RokImport, PointsPolygonsAndColours) {
    ASSERT_TRUE(ImportRokText(*model, RokSample(), false));
    ASSERT_EQ(model->vertices.size(), 5u);
    EXPECT_VEC_NEAR(model->vertices[4].position, 13, -14, -15, 1e-6);
    ASSERT_EQ(model->meshes.size(), 1u);
    const RZ_Mesh& mesh = model->meshes[0];
    ASSERT_EQ(mesh.faces.size(), 2u);
    // Distinct points of the listed edges, in order of first appearance.
    EXPECT_THAT(Corners(mesh.faces[0]), ElementsAre(1, 2, 0));
    EXPECT_THAT(Corners(mesh.faces[1]), ElementsAre(2, 0, 3, 4));
    EXPECT_EQ(mesh.faces[1].material, 12);
    // One shared (0, 0) texture coordinate serves every corner.
    ASSERT_EQ(model->uvs.size(), 1u);
    EXPECT_EQ(mesh.faces[1].uvIndex[3], 0);
    EXPECT_FLOAT_EQ(model->materials[3].red, 30.0f / 255.0f);
    EXPECT_FLOAT_EQ(model->materials[12].blue, 0.2f);
}

TEST_F(RokImport, TheAnswerToTheQuestionKeepsTheEdgesFirst) {
    EXPECT_TRUE(LoadBytes("Model.ROK", RokSample()));  // headless answers No
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "辺データを読込みますか？");
    EXPECT_EQ(model->meshes[0].faces.size(), 2u);

    YesDialogs yes;
    g_Host.dialogs = &yes;
    EXPECT_TRUE(LoadBytes("model.rok", RokSample()));
    g_Host.dialogs = &dialogs;
    const RZ_Mesh& mesh = model->meshes[0];
    ASSERT_EQ(mesh.faces.size(), 8u);
    EXPECT_THAT(Corners(mesh.faces[1]), ElementsAre(2, 0));
    EXPECT_EQ(mesh.faces[6].cornerCount, 3);
}

TEST_F(RokImport, TheSettingsAskOnceAFileOrAnswerForThePlayer) {
    YesDialogs yes;
    g_Host.dialogs = &yes;
    g_MessageBoxLog.clear();
    g_RokEdgeAnswer = RokEdgeAnswer::kAsk;
    EXPECT_TRUE(LoadBytes("a.rok", RokSample()));
    EXPECT_TRUE(LoadBytes("a.rok", RokSample()));  // the answer kept: no second box
    EXPECT_EQ(model->meshes[0].faces.size(), 8u);
    EXPECT_TRUE(LoadBytes("b.rok", RokSample()));
    EXPECT_EQ(g_MessageBoxLog.size(), 2u);
    for (auto [answer, faces] : {std::pair{RokEdgeAnswer::kNo, 2u}, {RokEdgeAnswer::kYes, 8u}}) {
        g_RokEdgeAnswer = answer;
        EXPECT_TRUE(LoadBytes("c.rok", RokSample()));
        EXPECT_EQ(model->meshes[0].faces.size(), faces);
    }
    EXPECT_EQ(g_MessageBoxLog.size(), 2u);
    g_RokEdgeAnswer = RokEdgeAnswer::kAskEachTime;
    ForgetRokEdgeAnswers();
    g_Host.dialogs = &dialogs;
}

TEST_F(RokImport, LinesEndAtCarriageReturnsOnly) {
    EXPECT_FALSE(ImportRokText(*model, RokSample("\n"), false));
    // CR LF leaves a line feed in front of every keyword, so none matches.
    g_MessageBoxLog.clear();
    EXPECT_FALSE(LoadBytes("crlf.rok", RokSample("\r\n")));
    ASSERT_EQ(g_MessageBoxLog.size(), 2u);  // the question, then the damage report
    EXPECT_EQ(g_MessageBoxLog[1].text, "ﾌｧｲﾙが壊れている可能性があります！");
    ExpectReset();

    // Lines are cut after 255 characters and go on as the next line.
    const std::string body = RokSample().substr(std::string("rok model\rPOINT\r").size());
    EXPECT_TRUE(ImportRokText(*model, std::string(255, 'x') + "POINT\r" + body, false));
    EXPECT_FALSE(ImportRokText(*model, std::string(254, 'x') + "POINT\r" + body, false));
}

TEST_F(RokImport, DamagedFilesAreRefusedWithoutReadingPastThem) {
    const std::string good = RokSample();
    // (The import-rok fuzz target tries the cuts between these.)
    for (size_t n : {size_t(5), good.size() / 2, good.size() - 1}) {
        RZ_Model m;
        EXPECT_FALSE(ImportRokText(m, good.substr(0, n), false)) << n;
    }
    const std::vector<Vector3> two = {{0, 0, 0}, {1, 0, 0}};
    EXPECT_FALSE(LoadBytes("m.rok", Rok(two, {{1, 3}}, {})));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("names point 3 of 2"));
    EXPECT_FALSE(LoadBytes("m.rok", Rok(two, {{1, 2}}, {{0, {1, 1, 1, 1, 1}}})));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("5 edges"));
    EXPECT_FALSE(LoadBytes("m.rok", Rok(two, {{1, 2}}, {{32, {1, 1}}})));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("material 32"));
    // Three edges cannot bring four points into a triangle.
    EXPECT_FALSE(LoadBytes("m.rok", Rok({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}},
                                        {{1, 2}, {3, 4}, {2, 3}}, {{0, {1, 2, 3}}})));
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("do not form a ring"));
}
