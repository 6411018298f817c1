#include "gfx/image_file.h"

#include <stb_image_write.h>

#include "gfx/texture.h"
#include "gfx_test_files.h"

namespace {

std::vector<uint8_t> Png(int w, int h, int comp, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(
        [](void* c, void* data, int size) {
            auto* o = static_cast<std::vector<uint8_t>*>(c);
            o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        },
        &out, w, h, comp, pixels.data(), w * comp);
    return out;
}

uint32_t Pixel(const GfxTexture* t, uint32_t level, uint32_t x, uint32_t y) {
    uint32_t v;
    std::memcpy(&v, t->LevelData(level).data() + y * t->LevelPitch(level) + x * 4, 4);
    return v;
}

class ImageFileTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    GfxDevice device{&backend};
    GfxTexture* tex = nullptr;

    int32_t Load(const std::vector<uint8_t>& bytes) {
        if (tex) tex->Release();
        tex = nullptr;
        return CreateTextureFromMemory(&device, bytes.data(), bytes.size(), &tex, "test");
    }
    void TearDown() override {
        if (tex) tex->Release();
        HeadlessHostTest::TearDown();
    }
};

}  // namespace

TEST_F(ImageFileTest, PicturesKeepTheirSizeAlphaDecidesTheFormatAndLevelsAverageRounded) {
    // 5 x 3: no rounding to a power of two; a full chain 5x3, 2x1, 1x1.
    std::vector<uint8_t> rgb(5 * 3 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 13);
    ASSERT_EQ(Load(Png(5, 3, 3, rgb)), kOk);
    EXPECT_EQ(std::tuple(tex->Format(), tex->Width(), tex->GetLevelCount()),
              std::tuple(PixelFormat::X8R8G8B8, 5u, 3u));
    const uint8_t* p = &rgb[(2 * 5 + 4) * 3];  // the last pixel, (4, 2)
    EXPECT_EQ(Pixel(tex, 0, 4, 2), 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2]);

    ASSERT_EQ(Load(Png(2, 1, 4, {10, 20, 30, 40, 50, 60, 70, 80})), kOk);
    EXPECT_EQ(tex->Format(), PixelFormat::A8R8G8B8);
    EXPECT_EQ(Pixel(tex, 0, 1, 0), 0x50323C46u);
    EXPECT_EQ(Pixel(tex, 1, 0, 0), 0x3C1E2832u);  // the average of both, rounded
}

TEST_F(ImageFileTest, BrokenFilesGiveAnErrorAndNoTexture) {
    std::vector<uint8_t> png = Png(3, 3, 3, std::vector<uint8_t>(27, 9));
    // 3 x 2 at 24 bits, rows of 12 bytes stored bottom row first: pixel (2, 1) is 0x010203.
    std::vector<uint8_t> rows(24, 50);
    rows[6] = 3, rows[7] = 2, rows[8] = 1;
    std::vector<uint8_t> bmp = MakeBmp(BmpSpec{.width = 3}, rows);
    std::vector<uint8_t> hugePalette =
        MakeBmp(BmpSpec{.width = 3, .bits = 8, .colours = 257}, rows);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"garbage", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"cut PNG", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
        {"cut BMP", std::vector<uint8_t>(bmp.begin(), bmp.end() - 1)},
        {"palette", hugePalette},
        {"too wide", Png(8193, 1, 1, std::vector<uint8_t>(8193, 0))},
        {"DDS header only", MakeDds(DdsSpec{}, {})},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(Load(bytes), kErrInvalidData) << what;
        EXPECT_EQ(tex, nullptr) << what;
        EXPECT_EQ(device.LiveTextureCount(), 0u) << what;
    }
    ASSERT_EQ(Load(bmp), kOk);  // the uncut file loads, top row first
    EXPECT_EQ(Pixel(tex, 0, 2, 1), 0xFF010203u);
}
