#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Shift-JIS (code page 932): bytes 0x81-0x9F and 0xE0-0xFC start a two-byte character; 0xA1-0xDF
// are half-width katakana; everything else stands alone.
constexpr bool IsSjisLeadByte(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes of the character at `p`, never more than `remaining`: a lead byte takes the next byte
// as its trail unless the text ends (end of the count or a terminator) right after it.
inline size_t SjisCharLength(const uint8_t* p, size_t remaining) {
    if (remaining == 0) return 0;
    if (IsSjisLeadByte(p[0]) && remaining >= 2 && p[1] != 0) return 2;
    return 1;
}

// One rendered character: 8-bit coverage, rows top to bottom.
struct GlyphBitmap {
    int width = 0, height = 0;
    int left = 0;                   // pen position to the bitmap's first column
    int top = 0;                    // baseline to the bitmap's first row, positive upwards
    int advance = 0;                // pen movement in pixels
    std::vector<uint8_t> coverage;  // width * height bytes
};

struct FontMetrics {
    int cellHeight = 0;    // ascent + descent: the height of one line
    int ascent = 0;        // top of the cell to the baseline
    int averageWidth = 0;  // the average character width (tab stops are 8 of these)
};

// Turns Shift-JIS characters into coverage bitmaps for the font. The real one lives in the
// platform layer (FreeType); tests use boxes.
class IGlyphRasterizer {
public:
    virtual ~IGlyphRasterizer() = default;
    // Metrics of the face at the given cell height; false when there is no face to draw with.
    virtual bool GetMetrics(int cellHeight, FontMetrics* out) = 0;
    // `code` is one character: a single byte, or lead << 8 | trail. False when nothing can be
    // drawn; a character with no ink (a space) succeeds with an empty bitmap and its advance.
    virtual bool RasterizeGlyph(uint16_t code, int cellHeight, GlyphBitmap* out) = 0;
};
