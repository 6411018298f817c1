#include "gfx/rz_texture.h"

#include "gfx/texture.h"
#include "gfx_test_files.h"

namespace {

class RzTextureTest : public GfxDataTest {
protected:
    GfxTexture* tex = nullptr;
    std::string out;

    void SetUp() override {
        GfxDataTest::SetUp();
        // 8 x 4 at 24 bits; pixel (x, y) = blue x*30, green y*60, red 200, and (0, 0) white.
        std::vector<uint8_t> rows;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                bool white = x == 0 && y == 0;
                rows.insert(rows.end(),
                            {uint8_t(white ? 255 : x * 30), uint8_t(white ? 255 : y * 60),
                             uint8_t(white ? 255 : 200)});
            }
        Write("skin.bmp", MakeBmp(BmpSpec{.width = 8, .height = -4}, rows));
    }
    void TearDown() override {
        if (tex) tex->Release();
        tex = nullptr;
        GfxDataTest::TearDown();
    }
    std::string Path(const std::string& name) { return std::string(GetBasePath()) + name; }

    // Loads with constant alpha 0.6, leaving the reader's lines in `out`.
    uint32_t Load(const std::string& name, PixelFormat format, uint32_t levels, int mode,
                  uint32_t key) {
        if (tex) tex->Release();
        tex = nullptr;
        uint32_t r = 0;
        out = VerboseLines([&] {
            r = RZ_CreateTextureFromFile(&device, Path(name), 0.6f, &tex, format, levels, mode,
                                         key);
        });
        return r;
    }
    uint32_t Texel(uint32_t level, uint32_t x, uint32_t y) {
        uint32_t bpp = GfxTexture::BytesPerPixel(tex->Format()), v = 0;
        std::memcpy(&v, tex->LevelData(level).data() + y * tex->LevelPitch(level) + x * bpp, bpp);
        return v;
    }
};

class PickingDialogs : public HeadlessDialogs {
public:
    std::string answer;
    bool OpenImageFile(std::string& path) override {
        path = answer;
        return !answer.empty();
    }
};

}  // namespace

TEST_F(RzTextureTest, BitmapBecomesATextureOfTheAskedFormatKeyAndLevels) {
    // The model loader's call: R5G6B5, one level, constant alpha (which R5G6B5 ignores).
    ASSERT_EQ(Load("skin.bmp", PixelFormat::R5G6B5, 1, 1, 0), (8u << 16) | 4u);
    EXPECT_EQ(device.LiveTextureCount(), 1u);  // the system-memory copy is gone
    EXPECT_EQ(Texel(0, 0, 0), 0xFFFFu);
    // (3, 2): red 200, green 120, blue 90.
    EXPECT_EQ(Texel(0, 3, 2), uint32_t((200 >> 3) << 11 | (120 >> 2) << 5 | (90 >> 3)));

    ASSERT_NE(Load("skin.bmp", PixelFormat::A8R8G8B8, 2, 2, 0x00FFFFFF), 0u);
    EXPECT_EQ(Texel(0, 0, 0), 0x00FFFFFFu);  // the key colour is transparent
    EXPECT_EQ(Texel(0, 1, 0), 0xFFC8001Eu);
    EXPECT_EQ(Texel(1, 3, 1), 0xFFC83C5Au);  // level 1 is the top-left part, not a reduction

    ASSERT_NE(Load("skin.bmp", PixelFormat::A4R4G4B4, 1, 0, 0), 0u);
    EXPECT_EQ(Texel(0, 1, 0), 0x3C01u);  // brightness of (12, 0, 1): 145 / 45 = 3
}

TEST_F(RzTextureTest, FailuresReturnZeroWithTheirLinesAndNarrowFormatsNeverOverrun) {
    EXPECT_EQ(Load("missing.bmp", PixelFormat::R5G6B5, 1, 1, 0), 0u);
    EXPECT_EQ(tex, nullptr);
    EXPECT_NE(out.find(Path("missing.bmp") + "が開けません!\n"), std::string::npos);
    EXPECT_EQ(Load("skin.bmp", PixelFormat::Unknown, 1, 1, 0), 0u);
    EXPECT_EQ(tex, nullptr);
    EXPECT_NE(out.find("ｼｽﾃﾑﾒﾓﾘ上にﾃｸｽﾁｬｰﾘｿｰｽを作成するのに、失敗しました！\n" +
                       std::to_string(kErrInvalidCall) + "\n"),
              std::string::npos);
    EXPECT_EQ(device.LiveTextureCount(), 0u);
    // Formats narrower than the image's pixels get cut rows.
    for (PixelFormat f : {PixelFormat::R8G8B8, PixelFormat::A8, PixelFormat::Dxt1}) {
        EXPECT_NE(Load("skin.bmp", f, 0, 1, 0), 0u);
        EXPECT_NE(tex, nullptr);
    }
}

TEST_F(RzTextureTest, FileDialogGivesThePickedPathOrNothingWhenItDoesNotFit) {
    char path[kTexturePathSize] = "old";
    PickingDialogs picker;
    g_Host.dialogs = &picker;
    for (const std::string& answer : {std::string("/data/tex/face.bmp"), std::string(300, 'a')}) {
        picker.answer = answer;
        EXPECT_EQ(RZ_OpenFileDlgForTexture(path), answer.size() < 100);
        EXPECT_EQ(std::string(path), answer.size() < 100 ? answer : "");
    }
}
