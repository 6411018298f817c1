#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "base/message_box.h"
#include "base/sjis.h"
#include "model/rz_model_load.h"
#include "model_test_util.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Two bones, vertex (1, 2, 3) bound to bone 1, one triangle, one untextured material and one
// animation with a key at frame 5 moved by (1, 0, 0).
std::string BinaryModel(const std::string& header = "RZ Object format V02.00 BINARY") {
    Bytes b;
    b.Text(header).U8(2).U8(0);
    b.U8(0).Name("").F32(0).F32(0).F32(0).F32(0).U8(0).U8(1).U8(0).U8(1);
    b.U8(1).Name("hip").F32(0.5f).F32(0).F32(0).F32(2).U8(0).U8(0);
    b.U16(3);
    b.F32(1).F32(2).F32(3).U8(1).U8(0).F32(1);
    b.F32(0).F32(0).F32(0).U8(0).U8(0).F32(1);
    b.F32(1).F32(0).F32(0).U8(0).U8(1).F32(0.5f);
    b.U16(1).F32(0.25f).F32(0.75f);
    b.U16(1).U16(0).U8(1).Name("m").U16(1).U16(3).U16(0).U16(0).U16(1).U16(0).U16(2).U16(0).U8(0);
    b.U8(1).U8(255).U8(0).U8(51).U8(0);
    b.U8(1).U8(9).Name("run");
    b.U8(0).U16(0);
    b.U8(1).U16(1).U16(5).F32(1).F32(0).F32(0).F32(0).F32(0).F32(0).F32(1).F32(1).F32(1).F32(1);
    return b.s;
}

std::vector<int> Frames(const RZ_Model& m, int anim, int bone) {
    std::vector<int> frames;
    for (const RZ_Key& k : m.animations[anim]->tracks[bone]->keys) frames.push_back(k.frame);
    return frames;
}

}  // namespace

class RzReader : public ModelTest {};

TEST_F(RzReader, ReadsTheAsciiLayoutWithQuotedNamesAndItsScales) {
    ASSERT_TRUE(LoadBytes("MODEL.RZO", RzFixture())) << RZ_LastError.detail;
    const RZ_Model& m = *model;

    // An empty name leaves the root's own.
    EXPECT_EQ(std::tuple(m.BoneCount(), m.bones[0]->name, m.bones[1]->name),
              std::tuple(2, SJIS("ﾙｰﾄ"), "arm (left) {a}"));
    EXPECT_VEC_NEAR(m.bones[1]->origin, 100, 200, 300, 1e-4);

    ASSERT_EQ(m.vertices.size(), 4u);
    EXPECT_VEC_NEAR(m.vertices[0].position, 1000, 2000, 3000, 1e-3);
    EXPECT_FLOAT_EQ(m.vertices[3].weight, 0.25f);

    ASSERT_EQ(m.meshes.size(), 2u);  // blocks fill their own index
    EXPECT_EQ(m.meshes[0].faces[1].vertexIndex[3], 3);
    EXPECT_EQ(m.meshes[1].visible, 0);

    EXPECT_FLOAT_EQ(m.materials[0].green, 128 / 255.0f);
    EXPECT_EQ(m.materials[1].sourceName, "tex\\skin.bmp");
    EXPECT_EQ(m.materials[1].texture, nullptr);  // no such image: drawn untextured

    ASSERT_TRUE(m.HasAnimation(3));
    EXPECT_STREQ(m.GetAnimationName(3), "walk slow");
    // Keys as written (not scaled), in frame order, after the pose recorded at frame 0.
    EXPECT_THAT(Frames(m, 3, 1), ElementsAre(0, 10, 20));
    EXPECT_FLOAT_EQ(m.animations[3]->tracks[1]->keys[1].scale.y, 2.0f);
    EXPECT_TRUE(LoadBytes("model.rzo", RzFixture()));
}

TEST_F(RzReader, ReadsTheBinaryLayoutWithItsScalesWhateverTheVersionSays) {
    for (const char* header : {"RZ Object format V02.00 BINARY", "RZ Object format V7.1 BINARY  ",
                               "RZ Object format V02.00 ascii "}) {
        SCOPED_TRACE(header);
        ASSERT_TRUE(LoadBytes("b.rzo", BinaryModel(header))) << RZ_LastError.detail;
        const RZ_Model& m = *model;
        EXPECT_VEC_NEAR(m.bones[1]->origin, 50, 0, 0, 1e-4);
        EXPECT_VEC_NEAR(m.vertices[0].position, 100, 200, 300, 1e-4);
        EXPECT_EQ(m.vertices[2].bone1, 1);
        EXPECT_FLOAT_EQ(m.materials[0].blue, 0.2f);
        EXPECT_THAT(Frames(m, 9, 1), ElementsAre(0, 5));
        EXPECT_FLOAT_EQ(m.animations[9]->tracks[1]->keys[1].position.x, 100.0f);
    }
    EXPECT_TRUE(
        IsRzAsciiHeader(reinterpret_cast<const uint8_t*>("RZ Object format V12.34 ASCII "), 30));
    EXPECT_FALSE(IsRzAsciiHeader(nullptr, 0));  // an empty model file has no bytes at all
}

TEST_F(RzReader, RefusesWhatBreaksTheLimitsOrNamesWhatIsNotThere) {
    const std::string good = RzFixture();
    const std::pair<const char*, const char*> mutations[] = {
        {"Bone 1 {", "Bone 40 {"},
        {"BoneNum 2", "BoneNum 33"},
        {"(0) 1", "(9) 1"},
        {"ParentID 0\r\n\t\tChildID 0", "ParentID 5\r\n\t\tChildID 0"},
        {"bone(1 0 1.000000)", "bone(33 0 1.000000)"},
        {"bone(0 1 0.250000)", "bone(0 -1 0.250000)"},
        {"Vertexes 4 {", "Vertexes 70000 {"},
        {"MeshNum 2", "MeshNum 1"},
        {"4 (0 0) (1 1) (2 0) (3 1)", "5 (0 0) (1 1) (2 0) (3 1) (0 0)"},
        {"2 (0 0) (1 1) mat(0)", "1 (0 0) mat(0)"},
        {"(3 1) mat(0)", "(4 1) mat(0)"},
        {"mat(1)", "mat(32)"},
        {"Material 2 {", "Material 33 {"},
        {"Anim 3 {", "Anim 128 {"},
        {"BoneID 1 {", "BoneID 2 {"},
    };
    for (auto [from, to] : mutations) {
        SCOPED_TRACE(to);
        std::string bad = good;
        const size_t at = bad.find(from);
        ASSERT_NE(at, std::string::npos);
        bad.replace(at, std::strlen(from), to);
        ASSERT_TRUE(LoadBytes("ok.rzo", good));
        EXPECT_FALSE(LoadBytes("bad.rzo", bad));
        EXPECT_EQ(RZ_LastError.code, 3);
        EXPECT_EQ(RZ_LastError.message,
                  GetBasePath() + std::string("bad.rzo") + SJIS("を読込めません！"));
        ExpectReset();  // the model loaded before is gone too
    }
}

TEST_F(RzReader, FilesThatEndEarlyAreRefusedWhereverTheyStop) {
    const std::string text = RzFixture();
    // Only the closing brackets (and digits of the very last number) may be missing.
    const size_t lastValue = text.rfind(' ', text.rfind(')')) + 1;
    // (The rz fuzz targets try every other cut.)
    for (size_t n : {size_t(5), lastValue / 2, lastValue, lastValue + 1, text.size() - 1}) {
        RZ_Model m;
        EXPECT_EQ(ReadRzBytes(m, text.substr(0, n)), n > lastValue) << n;
        if (n <= lastValue) {
            EXPECT_EQ(m.BoneCount(), 1) << n;
        }
    }
    const std::string binary = BinaryModel();
    for (size_t n : {size_t(16), size_t(32), binary.size() / 2, binary.size() - 1}) {
        RZ_Model m;
        EXPECT_FALSE(ReadRzBytes(m, binary.substr(0, n))) << n;
        if (n >= 32) {
            EXPECT_THAT(RZ_LastError.detail, HasSubstr("past the end of the file")) << n;
        }
    }
    RZ_Model m;
    EXPECT_TRUE(ReadRzBytes(m, binary + "trailing bytes are ignored"));
}

TEST_F(RzReader, DispatchByExtensionAndTheMessagesOfEachFailure) {
    EXPECT_FALSE(model->Load(device.get(), "nowhere\\gone.rzo", nullptr));
    EXPECT_EQ(std::tuple(RZ_LastError.code, RZ_LastError.message),
              std::tuple(2, "nowhere\\gone.rzo" + SJIS("を開けません！")));

    EXPECT_FALSE(LoadBytes("model.txt", RzFixture()));
    EXPECT_EQ(RZ_LastError.code, 3);
    EXPECT_EQ(ToUtf8(RZ_LastError.message),
              "このファイルには、対応していません！もしくは、拡張子が間違っています。");

    EXPECT_FALSE(model->Load(device.get(), "a.MQO", nullptr));
    EXPECT_EQ(RZ_LastError.code, 3);
    EXPECT_THAT(RZ_LastError.detail, HasSubstr("MQOファイルが開けません"));
    ExpectReset();
}
