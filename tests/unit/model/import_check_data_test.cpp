// The author tool that loads a whole data directory reads every foreign format, whatever the
// case of the file's extension.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/author_tools.h"
#include "model_test_util.h"

namespace {

const char kRok[] =
    "rok\rPOINT\r0\r0\r0\r0\r0\r0\r0\r0\r0\r0\r0\r0\r0\r1\r0\r0\r0\r0\r0\r0\r0\r0\r1\r0\r"
    "LINE0\r1\r2\r0\r0\r2\r3\r0\r0\r3\r1\r0\r0\rFACE0\r3\r0\r0\r1\r2\r3\rEND00\r\r\r\r"
    "9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r"
    "9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r"
    "9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r9\r9\r9\r\r\r\r\r";

const char kMqo[] =
    "Metasequoia Document\nFormat Text Ver 1.0\nMaterial 1 {\n\"m\" col(1 1 1 1)\n}\n"
    "Object \"o\" {\nvertex 3 {\n0 0 0\n1 0 0\n0 1 0\n}\nface 1 {\n3 V(0 1 2)\n}\n}\nEof\n";

const char kCob[] =
    "Caligari V00.01ALH\nPolH V0.08 Id 1 Parent 0 Size 00000001\nName o\ncenter 0 0 0\n"
    "x axis 1 0 0\ny axis 0 1 0\nz axis 0 0 1\nTransform\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"
    "World Vertices 3\n0 0 0\n1 0 0\n0 1 0\nTexture Vertices 1\n0 0\nFaces 1\n"
    "Face verts 3 flags 0 mat 0\n<0,0> <1,0> <2,0> \nEND  V1.00 Id 0 Parent 0 Size        0\n";

std::string Mx() {
    Bytes b;
    b.Text(std::string("MXF\0", 4)).U16(0x100).U16(0);
    for (int v : {60, 32 + 168, 168, 32, 0, 0}) b.U16(v).U16(0);
    for (int c = 0; c < 4; ++c) b.F32(float(c & 1)).F32(float(c >> 1)).F32(0).F32(0);
    b.Text(std::string(168 - 64, '\0')).Text(std::string(50, '\0')).U16(1);
    b.Text(std::string(8, '\0'));
    return b.s;
}

using CheckData = ModelTest;

}  // namespace

TEST_F(CheckData, LoadsOneModelOfEachForeignFormat) {
    const std::string data = MakeTempDir("checkdata");
    std::filesystem::create_directories(std::filesystem::path(data) / "chara");
    auto put = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(std::filesystem::path(data) / "chara" / name, std::ios::binary) << bytes;
    };
    put("A.ROK", kRok);
    put("b.Mqo", kMqo);
    put("c.mX", Mx());
    put("d.cob", kCob);
    testing::internal::CaptureStdout();
    const int result = RunCheckData(data);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0) << out;
    EXPECT_NE(out.find("checked 4 files, 0 failed"), std::string::npos) << out;

    put("e.mqo", std::string(kMqo).substr(0, 80));
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckData(data), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("FAIL chara/e.mqo"), std::string::npos);
    std::filesystem::remove_all(data);
}
