#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/sjis.h"

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
