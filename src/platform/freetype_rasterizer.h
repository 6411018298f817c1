#pragma once
#include <string>

#include "gfx/glyph_rasterizer.h"

// Glyphs from a Japanese gothic face through FreeType; the face is found with fontconfig, and
// Shift-JIS characters are decoded to Unicode with iconv here, at the platform edge.
class FreeTypeRasterizer : public IGlyphRasterizer {
public:
    // Asks fontconfig for a Japanese gothic face; falls back to any face with a warning on
    // standard error, and to none (drawing nothing) with one warning.
    FreeTypeRasterizer();
    // Uses the given font file and face, for tests and for a face chosen by the user.
    explicit FreeTypeRasterizer(const std::string& fontFile, int faceIndex = 0);
    ~FreeTypeRasterizer() override;
    FreeTypeRasterizer(const FreeTypeRasterizer&) = delete;
    FreeTypeRasterizer& operator=(const FreeTypeRasterizer&) = delete;

    bool HasFace() const;
    const std::string& FontFile() const { return fontFile_; }
    std::string FamilyName() const;

    bool GetMetrics(int cellHeight, FontMetrics* out) override;
    bool RasterizeGlyph(uint16_t code, int cellHeight, GlyphBitmap* out) override;

private:
    bool Open(const std::string& file, int index);
    bool SetCellHeight(int cellHeight);
    uint32_t Decode(uint16_t code);  // 0 when code page 932 has no such character

    struct Impl;  // FreeType and iconv handles, kept out of this header
    Impl* impl_;
    std::string fontFile_;
    int cellHeight_ = 0;
};
