#include "gfx/rz_image.h"

#include "gfx_test_files.h"

namespace {

struct MemoryRead {
    bool ok = false;
    std::string out;  // the progress lines the reader wrote
};

MemoryRead ReadMemory(const std::vector<uint8_t>& file, RZ_Image* img) {
    MemoryRead r;
    r.out = VerboseLines([&] { r.ok = RZ_ReadBmpFromMemory(file.data(), file.size(), img); });
    return r;
}

uint32_t Word(const RZ_Image& img, uint32_t x, uint32_t y) {
    uint32_t bpp = RZ_Image::BytesPerPixel(img.type), v = 0;
    for (uint32_t i = 0; i < bpp; ++i)
        v |= uint32_t(img.pixels[(size_t(y) * img.stride + x) * bpp + i]) << (8 * i);
    return v;
}

RZ_Image Make(uint8_t type, uint32_t width, uint32_t stride, std::vector<uint8_t> pixels) {
    RZ_Image img;
    img.type = type;
    img.width = width;
    img.stride = stride;
    img.height = uint32_t(pixels.size() / (stride * RZ_Image::BytesPerPixel(type)));
    img.pixels = std::move(pixels);
    return img;
}

}  // namespace

TEST(RzImage, BitmapsLoadWithoutShearWhateverTheirWidthRowOrderOrPalette) {
    // 4 x 2 at 24 bits: stored bottom row first, no padding.
    std::vector<uint8_t> rows(24);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i);
    RZ_Image img;
    MemoryRead r = ReadMemory(MakeBmp(BmpSpec{}, rows), &img);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.out, "biSizeImage = 0\nsize = 24\n");
    EXPECT_EQ(img.stride, 4u);
    EXPECT_EQ(std::vector<uint8_t>(img.pixels.begin(), img.pixels.begin() + 12),
              std::vector<uint8_t>(rows.begin() + 12, rows.end()));

    // 2 palette entries and a gap before the pixels; an index past the palette reads black.
    BmpSpec q{.width = 3, .height = 1, .bits = 8, .colours = 2};
    q.extra = Palette({0x0000FF, 0x00FF00});
    q.gap = 10;
    ASSERT_TRUE(ReadMemory(MakeBmp(q, {1, 0, 7, 0}), &img).ok);
    RZ_ConvertImage(&img, kRzArgb8888);
    EXPECT_EQ(Word(img, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(Word(img, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(Word(img, 2, 0), 0xFF000000u);
}

// The refusals and their lines come with the corpus files; these are the cuts no file has.
TEST(RzImage, CutHeadersAndOtherFilesAreRefusedWithoutReadingPastThem) {
    RZ_Image img;
    EXPECT_EQ(ReadMemory({'P', 'K', 3, 4, 5}, &img).out, "");
    const std::vector<uint8_t> good = MakeBmp(BmpSpec{}, std::vector<uint8_t>(64, 1));
    for (size_t n = 3; n < 54; n += 10)
        EXPECT_FALSE(ReadMemory(std::vector<uint8_t>(good.begin(), good.begin() + n), &img).ok);
    const std::vector<uint8_t> palette = MakeBmp(BmpSpec{.bits = 8, .colours = 300}, {1, 2});
    EXPECT_EQ(ReadMemory(palette, &img).out,
              "biSizeImage = 0\nbmp palette is larger than the bit count allows\n");
}

TEST(RzImage, ConverterWidensEveryLayoutAndPacksIntoRowsOfFourPixels) {
    RZ_Image pal = Make(kRzPalette8, 1, 4, {2, 0, 0, 0});
    pal.palette.assign(1024, 0);
    pal.palette[8] = 0x11, pal.palette[9] = 0x22, pal.palette[10] = 0x33;
    RZ_ConvertImage(&pal, kRzArgb8888);
    EXPECT_EQ(Word(pal, 0, 0), 0xFF332211u);

    struct Case {
        uint8_t type;
        std::vector<uint8_t> pixel;
        uint32_t argb;
    };
    const Case widen[] = {
        {kRzRgb332, {0x96}, 0xFF80A080},       {kRzArgb4444, {0xC4, 0xF8}, 0xF080C040},
        {kRzRgb565, {0xFF, 0xFF}, 0xFFF8FCF8}, {kRzRgb565, {0x10, 0x84}, 0xFF808080},
        {kRzBgr888, {1, 2, 3}, 0xFF030201},
    };
    for (const Case& c : widen) {
        RZ_Image img = Make(c.type, 1, 1, c.pixel);
        RZ_ConvertImage(&img, kRzArgb8888);
        EXPECT_EQ(Word(img, 0, 0), c.argb) << int(c.type);
    }

    // A 24-bit image 5 wide with stride 8, packed: rows of 8 pixels again, padding zero.
    std::vector<uint8_t> bgr(8 * 2 * 3, 0);
    bgr[4 * 3] = 0xFF, bgr[4 * 3 + 1] = 0x80, bgr[4 * 3 + 2] = 0x10;  // (4, 0) = r10 g80 bFF
    const std::pair<uint8_t, uint32_t> packs[] = {
        {kRzArgb4444, 0xF18F}, {kRzRgb565, 0x141F}, {kRzRgb332, 0x13}};
    for (auto [type, word] : packs) {
        RZ_Image img = Make(kRzBgr888, 5, 8, bgr);
        RZ_ConvertImage(&img, type);
        EXPECT_EQ(img.pixels.size(), 8u * 2 * RZ_Image::BytesPerPixel(type));
        EXPECT_EQ(Word(img, 4, 0), word) << int(type);
        EXPECT_EQ(Word(img, 5, 0), 0u);
    }
}

TEST(RzImage, AlphaRulesChangeOnlyThirtyTwoAndFourFourFourFourImages) {
    // Rule 1: constant; rule 0: brightness; others: colour key (low 24 or 12 bits).
    const std::vector<uint8_t> px = {0x1E, 0x14, 0x0A, 0x77, 0xFF, 0xFF, 0xFF, 0x00,
                                     0x30, 0x20, 0x10, 0x55, 0x00, 0x00, 0x00, 0x99};
    const std::vector<uint8_t> nib = {0xFF, 0x0F, 0x23, 0x01, 0x88, 0x08, 0x00, 0x00};
    struct Case {
        uint8_t type;
        int mode;
        float alpha;
        uint32_t key;
        std::vector<uint32_t> words;  // pixels 0..3 after the rule
    };
    const Case cases[] = {
        {kRzArgb8888, 1, 200.7f, 0, {0xC80A141E, 0xC8FFFFFF, 0xC8102030, 0xC8000000}},
        // (10^2 + 20^2 + 30^2) / 765 = 1
        {kRzArgb8888, 0, 0, 0, {0x010A141E, 0xFFFFFFFF, 0x04102030, 0x00000000}},
        {kRzArgb8888, 2, 0, 0xAB102030, {0xFF0A141E, 0xFFFFFFFF, 0x00102030, 0xFF000000}},
        {kRzArgb4444, 1, 9.9f, 0, {0x9FFF, 0x9123, 0x9888, 0x9000}},
        {kRzArgb4444, 0, 0, 0, {0xFFFF, 0x0123, 0x4888, 0x0000}},  // 675/45, 14/45, 192/45
        {kRzArgb4444, 7, 0, 0xF888, {0xFFFF, 0xF123, 0x0888, 0xF000}},
    };
    for (const Case& c : cases) {
        RZ_Image img = Make(c.type, 4, 4, c.type == kRzArgb8888 ? px : nib);
        RZ_ApplyAlpha(&img, c.mode, c.alpha, c.key);
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(Word(img, x, 0), c.words[x]) << int(c.type) << " rule " << c.mode << " " << x;
    }
}
