#include "gfx/image_file.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/paths.h"
#include "dds_test_file.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

std::vector<uint8_t> Png(int w, int h, int comp, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(Append, &out, w, h, comp, pixels.data(), w * comp);
    return out;
}

// A 24-bit bottom-up BMP with rows padded to 4 bytes; pixels given top row first as RGB.
std::vector<uint8_t> Bmp24(int w, int h, const std::vector<uint8_t>& rgb) {
    int row = (w * 3 + 3) / 4 * 4;
    std::vector<uint8_t> f(54 + size_t(row) * h, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B', f[1] = 'M';
    put(2, uint32_t(f.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(w), 4);
    put(22, uint32_t(h), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                f[54 + size_t(h - 1 - y) * row + x * 3 + c] = rgb[(size_t(y) * w + x) * 3 + 2 - c];
    return f;
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
        return CreateTextureFromMemory(&device, bytes.data(), bytes.size(), &tex, "test");
    }
    void TearDown() override {
        if (tex) tex->Release();
        HeadlessHostTest::TearDown();
    }
};

}  // namespace

TEST_F(ImageFileTest, PicturesWithoutAlphaBecomeX8AndWithAlphaA8OfTheirOwnSize) {
    // 5 x 3: no rounding to a power of two; a full chain 5x3, 2x1, 1x1.
    std::vector<uint8_t> rgb(5 * 3 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 13);
    ASSERT_EQ(Load(Png(5, 3, 3, rgb)), kOk);
    EXPECT_EQ(tex->Format(), PixelFormat::X8R8G8B8);
    EXPECT_EQ(tex->Width(), 5u);
    EXPECT_EQ(tex->GetLevelCount(), 3u);
    // Pixel (4, 2) is the last one: red, green, blue from the file, alpha opaque.
    const uint8_t* p = &rgb[(2 * 5 + 4) * 3];
    EXPECT_EQ(Pixel(tex, 0, 4, 2), 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2]);
    tex->Release();
    tex = nullptr;

    std::vector<uint8_t> rgba = {10, 20, 30, 40, 50, 60, 70, 80};
    ASSERT_EQ(Load(Png(2, 1, 4, rgba)), kOk);
    EXPECT_EQ(tex->Format(), PixelFormat::A8R8G8B8);
    EXPECT_EQ(Pixel(tex, 0, 0, 0), 0x280A141Eu);
    EXPECT_EQ(Pixel(tex, 0, 1, 0), 0x50323C46u);
    // The next level is the average of both, rounded.
    EXPECT_EQ(Pixel(tex, 1, 0, 0), 0x3C1E2832u);
}

TEST_F(ImageFileTest, MipLevelsAverageTwoByTwoBlocks) {
    // 4 x 4 grey quadrants, each with values v, v+1, v+2, v+3: the average rounds to v+2.
    std::vector<uint8_t> grey(16);
    const uint8_t base[4] = {0, 100, 200, 40};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            grey[y * 4 + x] = uint8_t(base[(y / 2) * 2 + x / 2] + (y % 2) * 2 + x % 2);
    ASSERT_EQ(Load(Png(4, 4, 1, grey)), kOk);
    ASSERT_EQ(tex->GetLevelCount(), 3u);
    for (int q = 0; q < 4; ++q) {
        uint32_t v = base[q] + 2u;
        EXPECT_EQ(Pixel(tex, 1, q % 2, q / 2), 0xFF000000u | v << 16 | v << 8 | v) << q;
    }
    // (2 + 102 + 202 + 42) / 4 = 87
    EXPECT_EQ(Pixel(tex, 2, 0, 0), 0xFF575757u);
}

TEST_F(ImageFileTest, BrokenFilesGiveAnErrorAndNoTexture) {
    std::vector<uint8_t> png = Png(3, 3, 3, std::vector<uint8_t>(27, 9));
    std::vector<uint8_t> bmp = Bmp24(3, 2, std::vector<uint8_t>(18, 50));
    std::vector<uint8_t> wide = Png(8193, 1, 1, std::vector<uint8_t>(8193, 0));
    std::vector<uint8_t> hugePalette = Bmp24(3, 2, std::vector<uint8_t>(18, 50));
    hugePalette[28] = 8;     // 8 bits per pixel ...
    hugePalette[46] = 0x01;  // ... with 257 palette entries
    hugePalette[47] = 0x01;
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"garbage", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"cut PNG", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
        {"cut BMP", std::vector<uint8_t>(bmp.begin(), bmp.end() - 1)},
        {"palette", hugePalette},
        {"too wide", wide},
        {"DDS header only", std::vector<uint8_t>(MakeDds(DdsSpec{}, {}))},
    };
    for (const auto& [what, bytes] : cases) {
        tex = reinterpret_cast<GfxTexture*>(1);
        EXPECT_EQ(Load(bytes), kErrInvalidData) << what;
        EXPECT_EQ(tex, nullptr) << what;
        EXPECT_EQ(device.LiveTextureCount(), 0u) << what;
    }
    // The uncut BMP loads, top row first.
    ASSERT_EQ(Load(bmp), kOk);
    EXPECT_EQ(Pixel(tex, 0, 2, 1), 0xFF323232u);
}

TEST_F(ImageFileTest, FilesAreFoundThroughTheGamePathsAndMissingOnesReportNotFound) {
    std::string dir = MakeTempDir("imagefile");
    SetDataDirectory(dir);
    std::vector<uint8_t> bmp = Bmp24(2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3});
    std::ofstream(fs::path(dir) / "Pic.BMP", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    ASSERT_EQ(CreateTextureFromFile(&device, std::string(GetBasePath()) + "pic.bmp", &tex), kOk);
    EXPECT_EQ(Pixel(tex, 0, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(tex, 0, 1, 1), 0xFF010203u);
    tex->Release();
    tex = nullptr;
    EXPECT_EQ(CreateTextureFromFile(&device, std::string(GetBasePath()) + "none.bmp", &tex),
              kErrNotFound);
    EXPECT_EQ(tex, nullptr);
    EXPECT_EQ(CreateTextureFromFile(nullptr, std::string(GetBasePath()) + "pic.bmp", &tex),
              kErrInvalidCall);
    fs::remove_all(dir);
}
