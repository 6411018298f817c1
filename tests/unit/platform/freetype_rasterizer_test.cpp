#include "platform/freetype_rasterizer.h"

#include <gtest/gtest.h>

#include <numeric>

#include "base/sjis.h"
#include "gfx/font.h"
#include "gfx/recording_backend.h"
#include "test_support.h"

// The real rasteriser with the system's Japanese gothic face (fonts-ipafont-gothic).
using FreeTypeRasterizerTest = HeadlessHostTest;

namespace {

uint16_t Code(const std::string& sjis) {
    return sjis.size() == 2 ? uint16_t(uint8_t(sjis[0]) << 8 | uint8_t(sjis[1])) : uint8_t(sjis[0]);
}

int Ink(const GlyphBitmap& b) {
    return std::accumulate(b.coverage.begin(), b.coverage.end(), 0);
}

}  // namespace

TEST_F(FreeTypeRasterizerTest, JapaneseAndHalfWidthGlyphsFitTheCell) {
    FreeTypeRasterizer r;
    ASSERT_TRUE(r.HasFace()) << "no font found (fonts-ipafont-gothic is expected)";
    FontMetrics m;
    ASSERT_TRUE(r.GetMetrics(18, &m));
    EXPECT_EQ(m.cellHeight, 18);
    GlyphBitmap a, latin, kana, hyo, space;
    ASSERT_TRUE(r.RasterizeGlyph(Code(SJIS("あ")), 18, &a));
    EXPECT_GT(Ink(a), 0) << r.FamilyName();
    EXPECT_LE(a.top, m.ascent);  // inside the cell
    EXPECT_LE(a.height - a.top, 18 - m.ascent);
    // Half-width letters and katakana advance half as far; a pair whose trail byte is '\'.
    ASSERT_TRUE(r.RasterizeGlyph('A', 18, &latin));
    ASSERT_TRUE(r.RasterizeGlyph(0xB1, 18, &kana));  // half-width katakana "ｱ"
    ASSERT_TRUE(r.RasterizeGlyph(Code(SJIS("表")), 18, &hyo));
    EXPECT_NEAR(latin.advance * 2, a.advance, 2);
    EXPECT_NEAR(kana.advance * 2, a.advance, 2);
    for (const GlyphBitmap* g : {&latin, &kana, &hyo}) EXPECT_GT(Ink(*g), 0);
    ASSERT_TRUE(r.RasterizeGlyph(' ', 18, &space));
    EXPECT_EQ(Ink(space), 0);
    EXPECT_GT(space.advance, 0);

    // Bytes that are no characters of the code page still give a glyph; sizes are bounded.
    for (uint16_t code : {uint16_t(0x80), uint16_t(0xFD), uint16_t(0x8120), uint16_t(0xFCFC)})
        EXPECT_TRUE(r.RasterizeGlyph(code, 18, &a)) << code;
    EXPECT_FALSE(r.GetMetrics(0, &m));
    EXPECT_FALSE(r.GetMetrics(100000, &m));
}

TEST_F(FreeTypeRasterizerTest, AMissingFontFileMeansNoFaceAndAFontThatDrawsNothing) {
    FreeTypeRasterizer r("/nonexistent/font.ttf");
    EXPECT_FALSE(r.HasFace());
    RecordingBackend rec;
    GfxDevice device(&rec);
    auto* font = new RZ_Font(&device, &r, 18);
    TextRect rect{0, 0, 640, 480};
    EXPECT_EQ(font->DrawText("AB\nC", -1, &rect, 0, 0xFFFFFFFF), 36);  // layout still answers
    EXPECT_EQ(rec.drawCount, 0u);
    EXPECT_EQ(device.LiveTextureCount(), 0u);
    font->Release();
}
