// The author tool that loads a whole data directory reads every foreign format, whatever the
// case of the file's extension.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/author_tools.h"
#include "model_test_util.h"

using CheckData = ModelTest;

TEST_F(CheckData, LoadsOneModelOfEachForeignFormat) {
    std::string rok = "rok\rPOINT\r";
    for (int p = 0; p < 3; ++p)
        rok += "0\r0\r0\r0\r0\r" + std::to_string(p & 1) + "\r" + std::to_string(p >> 1) + "\r0\r";
    rok += "LINE0\r1\r2\r0\r0\r2\r3\r0\r0\r3\r1\r0\r0\rFACE0\r3\r0\r0\r1\r2\r3\rEND00\r\r\r\r";
    for (int m = 0; m < 13; ++m) rok += "9\r9\r9\r\r\r\r\r";
    const std::string mqo =
        "Metasequoia Document\nFormat Text Ver 1.0\nMaterial 1 {\n\"m\" col(1 1 1 1)\n}\n"
        "Object \"o\" {\nvertex 3 {\n0 0 0\n1 0 0\n0 1 0\n}\nface 1 {\n3 V(0 1 2)\n}\n}\nEof\n";
    // The object's size is written too small; the end chunk is found all the same.
    const std::string cob =
        "Caligari V00.01ALH\nPolH V0.08 Id 1 Parent 0 Size 00000001\nName o\ncenter 0 0 0\n"
        "x axis 1 0 0\ny axis 0 1 0\nz axis 0 0 1\nTransform\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"
        "World Vertices 3\n0 0 0\n1 0 0\n0 1 0\nTexture Vertices 1\n0 0\nFaces 1\n"
        "Face verts 3 flags 0 mat 0\n<0,0> <1,0> <2,0> \nEND  V1.00 Id 0 Parent 0 Size        0\n";
    Bytes mx;  // one layer of one quad
    mx.Text(std::string("MXF\0", 4)).U16(0x100).U16(0);
    for (int v : {60, 32 + 168, 168, 32, 0, 0}) mx.U16(v).U16(0);
    for (int c = 0; c < 4; ++c) mx.F32(float(c & 1)).F32(float(c >> 1)).F32(0).F32(0);
    mx.Text(std::string(104 + 50, '\0')).U16(1).Text(std::string(8, '\0'));

    const std::filesystem::path data = MakeTempDir("checkdata"), chara = data / "chara";
    std::filesystem::create_directories(chara);
    auto put = [&](const char* name, const std::string& bytes) {
        std::ofstream(chara / name, std::ios::binary) << bytes;
    };
    put("A.ROK", rok), put("b.Mqo", mqo), put("c.mX", mx.s), put("d.cob", cob);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckData(data.string()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "checked 4 files, 0 failed\n");

    put("e.mqo", mqo.substr(0, 80));
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckData(data.string()), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("FAIL chara/e.mqo"), std::string::npos);
    std::filesystem::remove_all(data);
}
