// The author tool that loads every model of a data directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/author_tools.h"
#include "model_test_util.h"

using CheckData = ModelTest;

TEST_F(CheckData, LoadsEveryForeignModelWhateverTheCaseOfItsExtensionAndNamesFailures) {
    const std::string mqo =
        "Metasequoia Document\nFormat Text Ver 1.0\nMaterial 1 {\n\"m\" col(1 1 1 1)\n}\n"
        "Object \"o\" {\nvertex 3 {\n0 0 0\n1 0 0\n0 1 0\n}\nface 1 {\n3 V(0 1 2)\n}\n}\nEof\n";
    // The object's size is written too small; the end chunk is found all the same.
    const std::string cob =
        "Caligari V00.01ALH\nPolH V0.08 Id 1 Parent 0 Size 00000001\nName o\ncenter 0 0 0\n"
        "x axis 1 0 0\ny axis 0 1 0\nz axis 0 0 1\nTransform\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"
        "World Vertices 3\n0 0 0\n1 0 0\n0 1 0\nTexture Vertices 1\n0 0\nFaces 1\n"
        "Face verts 3 flags 0 mat 0\n<0,0> <1,0> <2,0> \nEND  V1.00 Id 0 Parent 0 Size        0\n";
    const std::filesystem::path data = MakeTempDir("checkdata"), chara = data / "chara";
    std::filesystem::create_directories(chara);
    auto put = [&](const char* name, const std::string& bytes) {
        std::ofstream(chara / name, std::ios::binary) << bytes;
    };
    put("b.Mqo", mqo), put("d.COB", cob);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckData(data.string()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "checked 2 files: 0 problems\n");
    put("e.mqo", mqo.substr(0, 80));
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckData(data.string()), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("chara/e.mqo: "), std::string::npos);
    std::filesystem::remove_all(data);
}
