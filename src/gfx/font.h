#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gfx/glyph_rasterizer.h"

class GfxDevice;
class GfxTexture;

// A layout rectangle in screen pixels (left and top inside, right and bottom outside).
struct TextRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Draw-text format flags, with the original's values. Format 0 is left- and top-aligned and
// clipped to the rectangle.
constexpr uint32_t DT_TOP = 0x000;
constexpr uint32_t DT_LEFT = 0x000;
constexpr uint32_t DT_EXPANDTABS = 0x040;
constexpr uint32_t DT_NOCLIP = 0x100;

// Size of the glyph texture: it starts small, doubles while it fills, and is emptied when it is
// full at its largest size.
struct FontAtlasLimits {
    uint32_t initialSize = 256;
    uint32_t maxSize = 1024;
};

// The text font: Shift-JIS text drawn as textured quads from a glyph atlas on the device. It sets
// the states it needs for its own draw and puts the game's states back afterwards.
class RZ_Font {
public:
    // `height` is the cell height in pixels (ascent + descent); a negative one is taken by its
    // size, 0 gives the default 16. Without a rasteriser or a face the font draws nothing.
    RZ_Font(GfxDevice* device, IGlyphRasterizer* rasterizer, int height,
            FontAtlasLimits limits = {});
    RZ_Font(const RZ_Font&) = delete;
    RZ_Font& operator=(const RZ_Font&) = delete;

    // Draws `count` bytes of `sjis` (-1: up to the terminator; a terminator always ends the
    // text) into `rect`. '\n' starts a new line one cell lower, '\r' is ignored, DT_EXPANDTABS
    // moves tabs to stops of 8 average characters. Returns the height of the text in pixels.
    int DrawText(const char* sjis, int count, const TextRect* rect, uint32_t format, uint32_t argb);
    // Frees the font and its atlas.
    void Release();

    bool HasFace() const { return hasFace_; }
    const FontMetrics& Metrics() const { return metrics_; }
    uint32_t AtlasSize() const { return atlasSize_; }
    GfxTexture* AtlasTexture() const { return atlas_; }
    uint32_t CachedGlyphCount() const { return static_cast<uint32_t>(glyphs_.size()); }
    uint32_t EvictionCount() const { return evictions_; }

private:
    ~RZ_Font();

    struct Glyph {
        int left = 0, top = 0, advance = 0;
        uint32_t ax = 0, ay = 0, width = 0, height = 0;  // place in the atlas; width 0: no ink
    };
    struct Shelf {
        uint32_t y, height, x;
    };
    struct Quad {
        float x0, y0, x1, y1;  // screen pixels
        float u0, v0, u1, v1;  // atlas pixels (normalised when drawn, as the atlas may grow)
        uint32_t colour;
    };

    const Glyph* FindGlyph(uint16_t code);
    bool Place(const GlyphBitmap& bitmap, Glyph& glyph);
    bool FindSpace(uint32_t w, uint32_t h, uint32_t* x, uint32_t* y);
    bool CreateAtlas(uint32_t size);
    bool GrowAtlas();
    void EmptyAtlas();
    void AddQuad(double x, double y, const Glyph& g, const TextRect* clip, uint32_t argb);
    void Flush();

    GfxDevice* device_;
    IGlyphRasterizer* rasterizer_;
    FontMetrics metrics_;
    bool hasFace_ = false;
    FontAtlasLimits limits_;
    GfxTexture* atlas_ = nullptr;
    uint32_t atlasSize_ = 0;
    std::vector<Shelf> shelves_;
    uint32_t shelvesBottom_ = 0;
    uint32_t evictions_ = 0;
    std::unordered_map<uint16_t, Glyph> glyphs_;
    std::vector<Quad> pending_;
    std::vector<uint8_t> vertexBytes_;
    GlyphBitmap scratch_;
};
