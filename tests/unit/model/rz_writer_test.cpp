#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/sjis.h"
#include "model/rz_object_writer.h"
#include "model_test_util.h"

using ::testing::HasSubstr;

namespace {

// Everything a file carries, in the ASCII layout.
std::string Ascii(const RZ_Model& m) {
    std::string out, why;
    EXPECT_TRUE(WriteRzObject(m, RZ_SaveFormat::Ascii, out, why)) << why;
    return out;
}

class RzWriter : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_TRUE(ReadRzBytes(*model, RzFixture()));
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

TEST_F(RzWriter, BothVariantsRoundTripAndALoadedAsciiFileWritesBackTheSameBytes) {
    const std::string first = Ascii(*model);
    for (RZ_SaveFormat format : {RZ_SaveFormat::Binary, RZ_SaveFormat::Ascii}) {
        const bool ascii = format == RZ_SaveFormat::Ascii;
        SCOPED_TRACE(ascii ? "ASCII" : "binary");
        const std::string name = std::string(GetBasePath()) + (ascii ? "a.rzo" : "b.rzo");
        ASSERT_TRUE(model->Save(name.c_str(), format)) << RZ_LastError.detail;
        RZ_Model back;
        ASSERT_TRUE(back.Load(device.get(), name.c_str(), nullptr)) << RZ_LastError.detail;
        EXPECT_EQ(Ascii(back), first);
    }
    EXPECT_EQ(first.substr(0, 32), "RZ Object format V02.00 ASCII \r\n");
    EXPECT_THAT(first, HasSubstr("\tBone 1 {\r\n\t\tName \"arm (left) {a}\"\r\n"
                                 "\t\tOrigin 1.000000 2.000000 3.000000\r\n"));
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
