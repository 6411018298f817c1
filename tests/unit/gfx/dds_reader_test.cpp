#include "gfx/dds_reader.h"

#include "gfx/texture.h"
#include "gfx_test_files.h"

namespace fs = std::filesystem;

namespace {

bool Read(const std::vector<uint8_t>& file, DdsImage* img, std::string* why = nullptr) {
    std::string ignored;
    return ReadDds(file.data(), file.size(), img, why ? why : &ignored);
}

}  // namespace

TEST(DdsReader, PlainFormatsKeepTheirBytesAndTakeThePitchFromTheFormat) {
    struct Case {
        uint32_t bits, r, g, b, a, pfFlags;
        PixelFormat format;
        uint32_t bytes;
    };
    const Case cases[] = {
        // An alpha mask without the alpha flag does not count.
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0x40, PixelFormat::X8R8G8B8, 4},
        {16, 0xF00, 0xF0, 0xF, 0xF000, 0x41, PixelFormat::A4R4G4B4, 2},
        {16, 0xF00, 0xF0, 0xF, 0, 0x40, PixelFormat::X4R4G4B4, 2},
        {8, 0xE0, 0x1C, 0x3, 0, 0x40, PixelFormat::R3G3B2, 1},
        {8, 0, 0, 0, 0xFF, 0x2, PixelFormat::A8, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<uint32_t>(c.format));
        // Writers disagree about the pitch field; it must not matter.
        DdsSpec s{.width = 3, .height = 2, .pitch = 999, .bits = c.bits};
        s.r = c.r, s.g = c.g, s.b = c.b, s.a = c.a;
        s.pfFlags = c.pfFlags;
        std::vector<uint8_t> payload = Sequence(3 * 2 * c.bytes);
        DdsImage img;
        ASSERT_TRUE(Read(MakeDds(s, payload), &img));
        EXPECT_EQ(img.format, c.format);
        ASSERT_EQ(img.levels.size(), 1u);
        EXPECT_EQ(img.levels[0].pitch, 3 * c.bytes);
        EXPECT_EQ(img.levels[0].bytes, payload);
    }
}

TEST(DdsReader, TheMipCountCountsOnlyWhenFlaggedAndStopsAtOnePixel) {
    // (mip-count flag, count) -> levels; 4 x 2 -> 2 x 1 -> 1 x 1 is all there is.
    const std::tuple<bool, uint32_t, size_t> counts[] = {
        {false, 3, 1}, {true, 3, 3}, {true, 40, 3}, {true, 0, 1}};
    for (auto [flagged, count, levels] : counts) {
        DdsSpec s{.width = 4, .height = 2, .mipCount = count};
        if (flagged) s.flags |= 0x20000;
        DdsImage img;
        ASSERT_TRUE(Read(MakeDds(s, Sequence((8 + 2 + 1) * 4)), &img));
        EXPECT_EQ(img.levels.size(), levels) << flagged << " " << count;
    }
    // The premultiplied block formats, which the corpus does not carry: 9 x 5 is 3 x 2 blocks.
    for (auto [code, format] :
         {std::pair{"DXT2", PixelFormat::Dxt2}, {"DXT4", PixelFormat::Dxt4}}) {
        DdsSpec s{.width = 9, .height = 5, .pfFlags = 0x4};
        s.fourCC = TestFourCC(code);
        DdsImage img;
        ASSERT_TRUE(Read(MakeDds(s, Sequence(16 * 6)), &img)) << code;
        EXPECT_EQ(img.format, format);
        EXPECT_EQ(img.levels[0].bytes.size(), 16u * 6);
    }
}

TEST(DdsReader, LuminanceAndForeignChannelOrdersAreWidenedTo32Bits) {
    using PF = PixelFormat;
    struct Case {
        uint32_t pfFlags, bits, r, g, b, a;
        uint32_t pixel;  // little-endian, bits / 8 bytes of it
        PF format;
        uint32_t argb;
    };
    const Case cases[] = {
        // L8, A8L8, A8B8G8R8
        {0x20000, 8, 0xFF, 0, 0, 0, 0x80, PF::X8R8G8B8, 0xFF808080},
        {0x20001, 16, 0xFF, 0, 0, 0xFF00, 0x9040, PF::A8R8G8B8, 0x90404040},
        {0x41, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 0x44332211, PF::A8R8G8B8, 0x44112233},
        // A2R10G10B10 without alpha (10-bit channels scaled down), X1B5G5R5
        {0x40, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0, 0x3FF00200, PF::X8R8G8B8, 0xFFFF0080},
        {0x40, 16, 0x1F, 0x3E0, 0x7C00, 0, 0x001F, PF::X8R8G8B8, 0xFFFF0000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argb);
        DdsSpec s{.width = 1, .height = 1, .pfFlags = c.pfFlags, .bits = c.bits};
        s.r = c.r, s.g = c.g, s.b = c.b, s.a = c.a;
        std::vector<uint8_t> pixel(c.bits / 8);
        std::memcpy(pixel.data(), &c.pixel, pixel.size());
        DdsImage img;
        ASSERT_TRUE(Read(MakeDds(s, pixel), &img));
        EXPECT_EQ(img.format, c.format);
        ASSERT_EQ(img.levels[0].bytes.size(), 4u);
        uint32_t got;
        std::memcpy(&got, img.levels[0].bytes.data(), 4);
        EXPECT_EQ(got, c.argb);
    }
}

TEST(DdsReader, RefusesWhatTheDeviceCannotHoldWithAReason) {
    auto with = [](auto change) {
        DdsSpec s;
        change(s);
        return MakeDds(s, Sequence(4 * 4 * 4));
    };
    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"cube map", with([](DdsSpec& s) { s.caps2 = 0xFE00; })},
        {"depth", with([](DdsSpec& s) { s.flags |= 0x800000, s.depth = 4; })},
        {"DX10", with([](DdsSpec& s) { s.pfFlags = 4, s.fourCC = TestFourCC("DX10"); })},
        {"no masks", with([](DdsSpec& s) { s.r = s.g = s.b = 0; })},
        {"split mask", with([](DdsSpec& s) { s.r = 0xF0F00; })},
        {"no kind", with([](DdsSpec& s) { s.pfFlags = 0; })},
        {"too wide", with([](DdsSpec& s) { s.width = 8193; })},
        {"header size", with([](DdsSpec& s) { s.headerSize = 100; })},
        {"truncated mip", with([](DdsSpec& s) { s.flags |= 0x20000, s.mipCount = 2; })},
    };
    bad.push_back({"magic", with([](DdsSpec&) {})});
    bad.back().second[3] = 'X';
    for (auto& [what, file] : bad) {
        DdsImage img;
        std::string why;
        EXPECT_FALSE(Read(file, &img, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
        EXPECT_TRUE(img.levels.empty()) << what;
    }
    // A good file cut in its magic, its header, its first level and its last byte, each a fresh
    // copy of exactly its size (the dds-reader fuzz target tries the other cuts).
    DdsSpec s{.width = 5, .height = 3, .flags = 0x21007, .mipCount = 3, .bits = 24};
    std::vector<uint8_t> file = MakeDds(s, Sequence((15 + 2 + 1) * 3));
    DdsImage img;
    ASSERT_TRUE(Read(file, &img));
    for (size_t n : {size_t(2), size_t(100), size_t(140), file.size() - 1})
        EXPECT_FALSE(Read(std::vector<uint8_t>(file.begin(), file.begin() + n), &img)) << n;
}

TEST(DdsReader, CorpusFilesLoadWithTheirFormatsAndLevelsOrAreRefused) {
    std::string dir = CorpusDir("dds");
    SKIP_WITHOUT_CORPUS(dir);
    struct Expect {
        const char* name;
        bool ok;
        uint32_t width, height, levels;
        PixelFormat format;
    };
    const Expect table[] = {
        {"DX9 BC1_UNORM.dds", true, 129, 66, 8, PixelFormat::Dxt1},
        {"DX9 BC2_UNORM.dds", true, 129, 66, 8, PixelFormat::Dxt3},
        {"DX9 BC3_UNORM.dds", true, 129, 66, 8, PixelFormat::Dxt5},
        {"DX9 B8G8R8A8_UNORM.dds", true, 129, 66, 8, PixelFormat::A8R8G8B8},
        {"DX9 B5G6R5_UNORM.dds", true, 129, 66, 8, PixelFormat::R5G6B5},
        {"DX9 B5G5R5A1_UNORM.dds", true, 129, 66, 8, PixelFormat::A1R5G5B5},
        {"dxt1-rgb-4bbp-noalpha_MipMaps-1.dds", true, 256, 256, 1, PixelFormat::Dxt1},
        {"dxt5-colorblock-alpha-issue-4142.dds", true, 4, 4, 1, PixelFormat::Dxt5},
        {"bgr15.dds", true, 128, 128, 1, PixelFormat::X1R5G5B5},
        {"hopper.dds", true, 128, 128, 8, PixelFormat::R8G8B8},
        {"32-bit-uncompressed-odd.dds", true, 5, 9, 1, PixelFormat::A8R8G8B8},
        {"24-bit-uncompressed-odd.dds", true, 1, 3, 1, PixelFormat::R8G8B8},
        // No mip-count flag: the first level only, the rest of the file is ignored.
        {"restricted-header.dds", true, 129, 66, 1, PixelFormat::A1R5G5B5},
        {"zero_mask_totals.dds", false, 0, 0, 0, PixelFormat::Unknown},
        {"timeout-c60a3d7314213624607bfb3e38d551a8b24a7435.dds", false, 0, 0, 0,
         PixelFormat::Unknown},
        {"unimplemented_pixel_format.dds", false, 0, 0, 0, PixelFormat::Unknown},
    };
    for (const Expect& e : table) {
        SCOPED_TRACE(e.name);
        std::vector<uint8_t> file = ReadAll(fs::path(dir) / e.name);
        ASSERT_FALSE(file.empty());
        DdsImage img;
        ASSERT_EQ(Read(file, &img), e.ok);
        if (!e.ok) continue;
        ASSERT_EQ(std::tuple(img.width, img.height, img.format, img.levels.size()),
                  std::tuple(e.width, e.height, e.format, size_t(e.levels)));
        // The levels are the file's bytes in order: the first right behind the header.
        size_t used = 0;
        for (const auto& lv : img.levels) {
            ASSERT_LE(128 + used + lv.bytes.size(), file.size());
            EXPECT_TRUE(std::equal(lv.bytes.begin(), lv.bytes.end(), file.begin() + 128 + used));
            used += lv.bytes.size();
        }
        // Most files end where their last level does; two carry more than their header names.
        std::string name = e.name;
        if (name != "restricted-header.dds" && name != "dxt5-colorblock-alpha-issue-4142.dds") {
            EXPECT_EQ(128 + used, file.size());
        }
    }
}
