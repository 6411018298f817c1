#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/sjis.h"
#include "model/model_info.h"
#include "model/rz_object_reader.h"
#include "model/rz_object_writer.h"
#include "model_test_util.h"

using ::testing::HasSubstr;

namespace {

std::string Fixture() {
    std::ifstream in(FixturesDir() + "/model/two_bones.rzo", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Read(RZ_Model& m, const std::string& bytes) {
    return ReadRzObject(m, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr,
                        nullptr, "mem.rzo");
}

void ExpectNear(const Vector3& a, const Vector3& b, float tol) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

// Everything a file carries, compared; positions within tol.
void ExpectSameContent(const RZ_Model& a, const RZ_Model& b, float tol) {
    for (int i = 0; i < kRzMaxBones; ++i) {
        SCOPED_TRACE("bone " + std::to_string(i));
        ASSERT_EQ(a.bones[i] != nullptr, b.bones[i] != nullptr);
        if (!a.bones[i]) continue;
        EXPECT_EQ(a.bones[i]->name, b.bones[i]->name);
        EXPECT_EQ(a.bones[i]->parent, b.bones[i]->parent);
        EXPECT_EQ(0, std::memcmp(a.bones[i]->children, b.bones[i]->children, kRzMaxChildren));
        ExpectNear(a.bones[i]->origin, b.bones[i]->origin, tol);
        EXPECT_NEAR(a.bones[i]->range, b.bones[i]->range, 1e-6);
    }
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        ExpectNear(a.vertices[i].position, b.vertices[i].position, tol);
        EXPECT_EQ(a.vertices[i].bone0, b.vertices[i].bone0);
        EXPECT_EQ(a.vertices[i].bone1, b.vertices[i].bone1);
        EXPECT_NEAR(a.vertices[i].weight, b.vertices[i].weight, 1e-6);
    }
    ASSERT_EQ(a.uvs.size(), b.uvs.size());
    for (size_t i = 0; i < a.uvs.size(); ++i) EXPECT_NEAR(a.uvs[i].u, b.uvs[i].u, 1e-6);
    ASSERT_EQ(a.meshes.size(), b.meshes.size());
    for (size_t i = 0; i < a.meshes.size(); ++i) {
        EXPECT_EQ(a.meshes[i].name, b.meshes[i].name);
        EXPECT_EQ(a.meshes[i].visible, b.meshes[i].visible);
        ASSERT_EQ(a.meshes[i].faces.size(), b.meshes[i].faces.size());
        for (size_t f = 0; f < a.meshes[i].faces.size(); ++f) {
            const RZ_Face& x = a.meshes[i].faces[f];
            const RZ_Face& y = b.meshes[i].faces[f];
            EXPECT_EQ(x.cornerCount, y.cornerCount);
            EXPECT_EQ(x.material, y.material);
            for (int c = 0; c < x.cornerCount; ++c) {
                EXPECT_EQ(x.vertexIndex[c], y.vertexIndex[c]);
                EXPECT_EQ(x.uvIndex[c], y.uvIndex[c]);
            }
        }
    }
    ASSERT_EQ(a.materialCount, b.materialCount);
    for (int i = 0; i < a.materialCount; ++i) {
        EXPECT_FLOAT_EQ(a.materials[i].green, b.materials[i].green);
        EXPECT_EQ(a.materials[i].sourceName, b.materials[i].sourceName);
    }
    for (int i = 0; i < kRzMaxAnimations; ++i) {
        ASSERT_EQ(a.HasAnimation(i), b.HasAnimation(i)) << i;
        if (!a.HasAnimation(i)) continue;
        EXPECT_EQ(a.animations[i]->name, b.animations[i]->name);
        for (int t = 0; t < kRzMaxBones; ++t) {
            const RZ_KeyTrack* x = a.animations[i]->tracks[t].get();
            const RZ_KeyTrack* y = b.animations[i]->tracks[t].get();
            ASSERT_EQ(x != nullptr, y != nullptr);
            if (!x) continue;
            ASSERT_EQ(x->keys.size(), y->keys.size());
            for (size_t k = 0; k < x->keys.size(); ++k) {
                EXPECT_EQ(x->keys[k].frame, y->keys[k].frame);
                ExpectNear(x->keys[k].position, y->keys[k].position, tol);
                EXPECT_NEAR(x->keys[k].rotation.y, y->keys[k].rotation.y, 1e-6);
                ExpectNear(x->keys[k].scale, y->keys[k].scale, 1e-6);
            }
        }
    }
}

class RzWriter : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_TRUE(Read(*model, Fixture()));
        // More than the fixture holds: a Shift-JIS name, a deep slot, negative frames.
        AddBone(*model, 31, 1, Vector3{-12.5f, 0.125f, 7}).SetName(SJIS("右腕").c_str());
        model->vertices[2].bone1 = 31;
        // A file gives every animation a track per bone, starting from the pose at frame 0.
        model->animations[3]->tracks[31] = std::make_unique<RZ_KeyTrack>();
        model->animations[3]->tracks[31]->AddKey(0, Vector3{}, Quaternion{0, 0, 0, 1},
                                                 Vector3{1, 1, 1});
        ASSERT_TRUE(model->CreateAnimation(127, SJIS("待機").c_str()));
        model->animations[127]->tracks[31]->AddKey(-5, Vector3{1.5f, -2, 0.25f},
                                                   AxisAngle(0, 1, 0, 0.5f), Vector3{1, 2, 3});
    }
};

}  // namespace

TEST_F(RzWriter, BothVariantsRoundTrip) {
    for (RZ_SaveFormat format : {RZ_SaveFormat::Binary, RZ_SaveFormat::Ascii}) {
        const bool ascii = format == RZ_SaveFormat::Ascii;
        SCOPED_TRACE(ascii ? "ASCII" : "binary");
        const std::string name = std::string(GetBasePath()) + (ascii ? "a.rzo" : "b.rzo");
        ASSERT_TRUE(model->Save(name.c_str(), format)) << RZ_LastError.detail;
        RZ_Model back;
        ASSERT_TRUE(back.Load(device.get(), name.c_str(), nullptr)) << RZ_LastError.detail;
        ExpectSameContent(*model, back, ascii ? 1e-3f : 1e-4f);
    }
}

TEST_F(RzWriter, ALoadedAsciiFileWritesBackTheSameBytes) {
    std::string first, second, why;
    ASSERT_TRUE(WriteRzObject(*model, RZ_SaveFormat::Ascii, first, why)) << why;
    EXPECT_EQ(first.substr(0, 32), "RZ Object format V02.00 ASCII \r\n");
    RZ_Model back;
    ASSERT_TRUE(Read(back, first));
    ASSERT_TRUE(WriteRzObject(back, RZ_SaveFormat::Ascii, second, why)) << why;
    EXPECT_EQ(first, second);
    EXPECT_THAT(first, HasSubstr("\tBone 1 {\r\n\t\tName \"arm (left) {a}\"\r\n"
                                 "\t\tOrigin 1.000000 2.000000 3.000000\r\n"));
    EXPECT_THAT(first, HasSubstr("\t\t\t\t4 (0 0) (1 1) (2 0) (3 1) mat(0)\r\n"));
    EXPECT_THAT(first, HasSubstr("\t\tRGB(0 0 51) 1 tex\\skin.bmp\r\n"));
}

TEST_F(RzWriter, RefusesContentTheFormatCannotCarry) {
    EXPECT_FALSE(model->Save("no\\such\\dir\\x.rzo", RZ_SaveFormat::Binary));
    EXPECT_EQ(RZ_LastError.code, 2);

    std::string out, why;
    model->bones[1]->name = "say \"hi\"";
    EXPECT_FALSE(WriteRzObject(*model, RZ_SaveFormat::Ascii, out, why));
    EXPECT_THAT(why, HasSubstr("double quote"));
    EXPECT_TRUE(WriteRzObject(*model, RZ_SaveFormat::Binary, out, why));
    model->materials[1].sourceName = "my skin.bmp";
    EXPECT_FALSE(WriteRzObject(*model, RZ_SaveFormat::Ascii, out, why));
    model->animations[3]->tracks[1]->AddKey(40000, Vector3{}, Quaternion{0, 0, 0, 1}, Vector3{});
    EXPECT_FALSE(WriteRzObject(*model, RZ_SaveFormat::Binary, out, why));
    EXPECT_THAT(why, HasSubstr("16-bit"));
    EXPECT_TRUE(out.empty());
}

TEST_F(RzWriter, ModelInfoSummarisesTheLoadedModel) {
    model->materials[1].textureName = "chara\\skin.bmp";
    const nlohmann::json info = ModelInfoJson(*model);
    EXPECT_EQ(info["counts"]["bones"], 3);
    EXPECT_EQ(info["counts"]["vertices"], 4);
    EXPECT_EQ(info["counts"]["animations"], 2);
    EXPECT_EQ(info["bones"][0]["name"], "ﾙｰﾄ");
    EXPECT_EQ(info["bones"][2]["name"], "右腕");
    EXPECT_EQ(info["bones"][2]["slot"], 31);
    EXPECT_EQ(info["materials"][0]["texture"], nullptr);
    EXPECT_EQ(info["materials"][1]["texture"], "tex\\skin.bmp");
    EXPECT_EQ(info["animations"][0]["tracks"][1]["frames"], nlohmann::json({0, 10, 20}));
    EXPECT_EQ(info["animations"][1]["name"], "待機");
    EXPECT_NO_THROW(info.dump());

    EXPECT_FALSE(model->Load(device.get(), "gone.rzo", nullptr));
    const nlohmann::json error = LastErrorJson();
    EXPECT_EQ(error["error"]["code"], 2);
    EXPECT_EQ(error["error"]["codeText"], "ファイルが見つかりませんでした！");
    EXPECT_EQ(error["error"]["message"], "gone.rzoを開けません！");
}
