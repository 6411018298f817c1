#pragma once
#include <cstdint>
#include <map>

#include "gfx/glyph_rasterizer.h"

// Boxes instead of letters, so that text layout can be checked to the pixel. A box's first two
// texels hold the character's low and high byte, so the text can be read back from the atlas.
//   single byte: 6 x 10 box, 1 right of the pen, top 10 above the baseline, advance 8
//   two bytes:  16 x 16 box, 1 right of the pen, top 14 above the baseline, advance 18
//   space: no ink, advance 8. Ascent is 14 of the 18-pixel cell, the average width 8.
class FakeGlyphRasterizer : public IGlyphRasterizer {
public:
    bool hasFace = true;
    bool varySizes = false;  // sizes taken from the code instead (for fuzzing the atlas)
    int hugeGlyph = 0;       // this code comes out far larger than any atlas
    int overhangGlyph = 0;   // this one starts 2 left of the pen and rises 2 above the cell
    int totalCalls = 0;
    std::map<uint16_t, int> calls;

    bool GetMetrics(int cellHeight, FontMetrics* out) override {
        if (!hasFace) return false;
        out->cellHeight = cellHeight;
        out->ascent = cellHeight * 14 / 18;
        out->averageWidth = 8;
        return true;
    }

    bool RasterizeGlyph(uint16_t code, int, GlyphBitmap* out) override {
        ++totalCalls;
        ++calls[code];
        *out = GlyphBitmap{};
        if (code == ' ') {
            out->advance = 8;
            return true;
        }
        bool wide = code > 0xFF;
        out->width = wide ? 16 : 6;
        out->height = wide ? 16 : 10;
        out->left = 1;
        out->top = wide ? 14 : 10;
        out->advance = wide ? 18 : 8;
        if (varySizes) {
            out->width = 2 + code % 29;
            out->height = 1 + (code >> 3) % 23;
            out->left = int(code % 5) - 2;
            out->top = int(code % 19) - 3;
            out->advance = int(code % 13);
        }
        if (code == overhangGlyph) out->left = -2, out->top = 16;
        if (code == hugeGlyph) out->width = out->height = 5000;
        out->coverage.assign(size_t(out->width) * out->height, 0xFF);
        out->coverage[0] = uint8_t(code & 0xFF);
        out->coverage[1] = uint8_t(code >> 8);
        return true;
    }
};
