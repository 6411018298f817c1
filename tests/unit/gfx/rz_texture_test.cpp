#include "gfx/rz_texture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/paths.h"
#include "bmp_test_file.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class RzTextureTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    GfxDevice device{&backend};
    GfxTexture* tex = nullptr;
    std::string dir;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        dir = MakeTempDir("rztexture");
        SetDataDirectory(dir);
        // 8 x 4 at 24 bits; pixel (x, y) = blue x*30, green y*60, red 200, and (0, 0) white.
        BmpSpec s;
        s.width = 8;
        s.height = -4;
        std::vector<uint8_t> rows;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                bool white = x == 0 && y == 0;
                rows.push_back(white ? 255 : uint8_t(x * 30));
                rows.push_back(white ? 255 : uint8_t(y * 60));
                rows.push_back(white ? 255 : 200);
            }
        Write("skin.bmp", MakeBmp(s, rows));
    }
    void TearDown() override {
        if (tex) tex->Release();
        fs::remove_all(dir);
        HeadlessHostTest::TearDown();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(fs::path(dir) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ClearPathCache();
    }
    std::string Path(const std::string& name) { return std::string(GetBasePath()) + name; }

    uint32_t Load(const std::string& name, PixelFormat format, uint32_t levels, int mode,
                  uint32_t key, std::string* out, float alpha = 0.6f) {
        testing::internal::CaptureStdout();
        uint32_t r =
            RZ_CreateTextureFromFile(&device, Path(name), alpha, &tex, format, levels, mode, key);
        *out = testing::internal::GetCapturedStdout();
        return r;
    }
    uint32_t Texel(uint32_t level, uint32_t x, uint32_t y) {
        uint32_t bpp = GfxTexture::BytesPerPixel(tex->Format()), v = 0;
        std::memcpy(&v, tex->LevelData(level).data() + y * tex->LevelPitch(level) + x * bpp, bpp);
        return v;
    }
};

}  // namespace

TEST_F(RzTextureTest, MaterialBitmapBecomesADeviceTextureOfTheAskedFormat) {
    std::string out;
    // The model loader's call: R5G6B5, one level, constant alpha 0.6 (which R5G6B5 ignores).
    ASSERT_EQ(Load("skin.bmp", PixelFormat::R5G6B5, 1, 1, 0, &out), (8u << 16) | 4u);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(device.LiveTextureCount(), 1u);  // the system-memory copy is gone
    EXPECT_EQ(Texel(0, 0, 0), 0xFFFFu);
    // (3, 2): red 200, green 120, blue 90.
    EXPECT_EQ(Texel(0, 3, 2), uint32_t((200 >> 3) << 11 | (120 >> 2) << 5 | (90 >> 3)));
    std::string file = Path("skin.bmp");
    EXPECT_EQ(out, "fname = " + file + "\nfile size = 150\nbiSizeImage = 0\nsize = 96\n");
}

TEST_F(RzTextureTest, ColourKeyAndSmallerLevelsTakeTheTopLeftPart) {
    std::string out;
    ASSERT_NE(Load("skin.bmp", PixelFormat::A8R8G8B8, 2, 2, 0x00FFFFFF, &out), 0u);
    EXPECT_EQ(Texel(0, 0, 0), 0x00FFFFFFu);  // the key colour is transparent
    EXPECT_EQ(Texel(0, 1, 0), 0xFFC8001Eu);
    // Level 1 is 4 x 2: the image's top-left pixels, not a reduction.
    EXPECT_EQ(Texel(1, 3, 1), 0xFFC83C5Au);
    tex->Release();
    tex = nullptr;

    ASSERT_NE(Load("skin.bmp", PixelFormat::A4R4G4B4, 1, 0, 0, &out), 0u);
    // Brightness of (12, 0, 1) over 4-bit channels: 145 / 45 = 3.
    EXPECT_EQ(Texel(0, 1, 0), 0x3C01u);
}

TEST_F(RzTextureTest, FailuresReturnZeroWithTheirLinesAndLeaveNothingBehind) {
    std::string out;
    EXPECT_EQ(Load("missing.bmp", PixelFormat::R5G6B5, 1, 1, 0, &out), 0u);
    EXPECT_EQ(tex, nullptr);
    EXPECT_NE(out.find(Path("missing.bmp") + "が開けません!\n"), std::string::npos);

    EXPECT_EQ(Load("skin.bmp", PixelFormat::Unknown, 1, 1, 0, &out), 0u);
    EXPECT_EQ(tex, nullptr);
    EXPECT_NE(out.find("ｼｽﾃﾑﾒﾓﾘ上にﾃｸｽﾁｬｰﾘｿｰｽを作成するのに、失敗しました！\n" +
                       std::to_string(kErrInvalidCall) + "\n"),
              std::string::npos);
    EXPECT_EQ(device.LiveTextureCount(), 0u);

    // Formats narrower than the image's pixels get cut rows, never an overrun.
    for (PixelFormat f : {PixelFormat::R8G8B8, PixelFormat::A8, PixelFormat::Dxt1}) {
        EXPECT_NE(Load("skin.bmp", f, 0, 1, 0, &out), 0u);
        ASSERT_NE(tex, nullptr);
        tex->Release();
        tex = nullptr;
    }
    EXPECT_EQ(device.LiveTextureCount(), 0u);
}

namespace {
class PickingDialogs : public HeadlessDialogs {
public:
    std::string answer;
    bool OpenImageFile(std::string& path) override {
        path = answer;
        return !answer.empty();
    }
};
}  // namespace

TEST_F(RzTextureTest, FileDialogGivesThePickedPathOrNothing) {
    char path[kTexturePathSize];
    std::strcpy(path, "old");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(RZ_OpenFileDlgForTexture(path));  // headless: cancelled
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "RZ_OpenFileDlgForTexture()\n");
    EXPECT_STREQ(path, "");

    PickingDialogs picker;
    g_Host.dialogs = &picker;
    picker.answer = "/data/tex/face.bmp";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(RZ_OpenFileDlgForTexture(path));
    EXPECT_STREQ(path, "/data/tex/face.bmp");
    picker.answer = "/" + std::string(300, 'a');
    EXPECT_FALSE(RZ_OpenFileDlgForTexture(path));
    EXPECT_STREQ(path, "");
    testing::internal::GetCapturedStdout();
}
