#include "gfx/bmp_reader.h"

#include "gfx_test_files.h"

namespace {

struct Decoded {
    bool ok = false;
    std::vector<uint32_t> argb;
    BmpInfo info;
    bool alpha = false;
    std::string why;
};

Decoded Decode(const std::vector<uint8_t>& file) {
    Decoded d;
    d.ok = DecodeBmp(file.data(), file.size(), &d.argb, &d.info, &d.alpha, &d.why);
    return d;
}

}  // namespace

TEST(BmpReader, PalettedRowsArePaddedShortPalettesReadBlackAndTheOffsetIsHonoured) {
    // 5 x 2 at 8 bits: rows of 8 bytes; 3 palette entries; index 200 is past them; a gap
    // between palette and pixels that only the data offset tells.
    BmpSpec s{.width = 5, .bits = 8, .colours = 3};
    s.extra = Palette({0x112233, 0x445566, 0x778899});
    s.gap = 6;
    std::vector<uint8_t> rows = {2, 1, 0, 200, 1, 9, 9, 9,   // bottom row
                                 0, 0, 1, 1,   2, 9, 9, 9};  // top row
    Decoded d = Decode(MakeBmp(s, rows));
    ASSERT_TRUE(d.ok) << d.why;
    EXPECT_FALSE(d.alpha);
    EXPECT_EQ(d.argb,
              (std::vector<uint32_t>{0xFF112233, 0xFF112233, 0xFF445566, 0xFF445566, 0xFF778899,
                                     0xFF778899, 0xFF445566, 0xFF112233, 0xFF000000, 0xFF445566}));
    s.height = -2;  // the same rows read top first
    d = Decode(MakeBmp(s, rows));
    ASSERT_TRUE(d.ok && d.info.topDown);
    EXPECT_EQ(d.argb[0], 0xFF778899u);
    EXPECT_EQ(d.argb[5], 0xFF112233u);
}

TEST(BmpReader, RefusesBrokenHeadersAndCutFiles) {
    auto with = [](auto change) {
        BmpSpec s;
        change(s);
        return MakeBmp(s, std::vector<uint8_t>(12 * 2, 0x55));
    };
    const std::vector<uint8_t> masks565Overlap = {0xFF, 0, 0, 0, 0xF0, 0x01, 0, 0, 0x1F, 0, 0, 0};
    const std::vector<uint8_t> masksSplit = {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x15, 0, 0, 0};
    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"fields at 24 bits", with([](BmpSpec& s) { s.compression = 3; })},
        {"negative width", with([](BmpSpec& s) { s.width = -4; })},
        {"no height", with([](BmpSpec& s) { s.height = 0; })},
        {"rows missing", with([](BmpSpec& s) { s.height = 3; })},
        {"palette count", with([](BmpSpec& s) { s.bits = 4, s.colours = 17; })},
        {"overlapping masks",
         with([&](BmpSpec& s) { s.bits = 16, s.compression = 3, s.extra = masks565Overlap; })},
        {"split mask",
         with([&](BmpSpec& s) { s.bits = 16, s.compression = 3, s.extra = masksSplit; })},
    };
    bad.push_back({"offset", with([](BmpSpec&) {})});
    bad.back().second[10] = 20;  // data offset inside the headers
    for (auto& [what, file] : bad) {
        Decoded d = Decode(file);
        EXPECT_FALSE(d.ok) << what;
        EXPECT_FALSE(d.why.empty()) << what;
    }

    BmpSpec s{.width = 3, .bits = 8, .colours = 2};
    s.extra = Palette({1, 2});
    std::vector<uint8_t> file = MakeBmp(s, std::vector<uint8_t>(8, 1));
    ASSERT_TRUE(Decode(file).ok);
    // Cut in the file header, the info header, the palette, and with the last byte missing (the
    // bmp-reader fuzz target tries the other cuts).
    for (size_t n : {size_t(10), size_t(30), size_t(56), file.size() - 1})
        EXPECT_FALSE(Decode(std::vector<uint8_t>(file.begin(), file.begin() + n)).ok) << n;
}
