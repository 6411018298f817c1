#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/message_box.h"
#include "base/sjis.h"
#include "gfx/texture.h"
#include "model/material_texture_loader.h"
#include "model_test_util.h"

using ::testing::ElementsAre;

namespace {

// A stand-in image loader that knows one file, and a dialog that offers one path.
std::vector<std::string> g_Tried;
std::string g_Exists;
std::string g_Picked;
int g_DialogCalls = 0;

uint32_t FakeCreate(GfxDevice* device, const char* fileName, float, GfxTexture** out,
                    PixelFormat format, uint32_t, int32_t, uint32_t) {
    g_Tried.push_back(fileName);
    if (fileName != g_Exists) return 0;
    device->CreateTexture(4, 2, 1, 0, format, Pool::Managed, out);
    return (4u << 16) | 2u;
}

bool FakeDialog(void*, char* path) {
    ++g_DialogCalls;
    if (g_Picked.empty()) return false;
    std::snprintf(path, kTexturePathSize, "%s", g_Picked.c_str());
    return true;
}

class MaterialTexture : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        g_Tried.clear();
        g_Exists.clear();
        g_Picked.clear();
        g_DialogCalls = 0;
        SetMaterialTextureLoader(FakeCreate, FakeDialog);
        model->SetDirectory("chara\\");
    }
    void TearDown() override {
        SetMaterialTextureLoader(nullptr, nullptr);
        ModelTest::TearDown();
    }
};

}  // namespace

TEST_F(MaterialTexture, LooksInTheModelDirectoryFirstThenWhereTheFileSays) {
    g_Exists = "chara\\skin.bmp";
    LoadMaterialTexture(*model, device.get(), "C:\\work\\skin.bmp", 3, nullptr);
    EXPECT_THAT(g_Tried, ElementsAre("chara\\skin.bmp"));
    EXPECT_NE(model->materials[3].texture, nullptr);
    EXPECT_EQ(model->materials[3].textureName, "chara\\skin.bmp");
    // An entry that has its texture is left alone.
    LoadMaterialTexture(*model, device.get(), "other.bmp", 3, nullptr);
    EXPECT_EQ(g_Tried.size(), 1u);

    g_Exists = "C:\\work\\face.bmp";
    model->SetDirectory("");
    LoadMaterialTexture(*model, device.get(), "C:\\work\\face.bmp", 4, nullptr);
    EXPECT_THAT(g_Tried, ElementsAre("chara\\skin.bmp", "face.bmp", "C:\\work\\face.bmp"));
    EXPECT_EQ(model->materials[4].textureName, "C:\\work\\face.bmp");
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(MaterialTexture, AsksForAnotherPathAndGivesUpOnNo) {
    // 表 ends in a backslash byte: it is not a separator.
    const std::string name = SJIS("tex\\表.bmp");
    LoadMaterialTexture(*model, device.get(), name.c_str(), 0, nullptr);
    EXPECT_THAT(g_Tried, ElementsAre(SJIS("chara\\表.bmp"), name));
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "ﾌｧｲﾙ表.bmpが読込めません！正しいﾊﾟｽを指定しますか？");
    EXPECT_EQ(std::tuple(g_MessageBoxLog[0].flags, g_DialogCalls, model->materials[0].texture),
              std::tuple(uint32_t(MB_YESNO | MB_ICONQUESTION), 0, nullptr));
}

TEST_F(MaterialTexture, OnYesTriesWhatTheUserPicksUntilItLoadsOrTheDialogIsCancelled) {
    YesDialogs yes;
    g_Host.dialogs = &yes;
    g_Picked = "/home/me/right.bmp";
    g_Exists = g_Picked;
    LoadMaterialTexture(*model, device.get(), "wrong.bmp", 1, nullptr);
    EXPECT_THAT(g_Tried, ElementsAre("chara\\wrong.bmp", "wrong.bmp", "/home/me/right.bmp"));
    EXPECT_EQ(model->materials[1].textureName, "/home/me/right.bmp");

    g_Picked.clear();
    LoadMaterialTexture(*model, device.get(), "wrong.bmp", 2, nullptr);
    EXPECT_EQ(g_DialogCalls, 2);
    EXPECT_EQ(model->materials[2].texture, nullptr);
}
