#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// A picture being drawn: A8R8G8B8 words, rows top to bottom. Drawing helpers and tileable noise
// for the builder's image recipes; all integer or plain float arithmetic, so the same build
// gives the same pixels.

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int w, int h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

constexpr uint32_t Argb(int a, int r, int g, int b) {
    return (uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) |
           uint32_t(b & 255);
}
inline int ChannelA(uint32_t c) {
    return int(c >> 24);
}
inline int ChannelR(uint32_t c) {
    return int((c >> 16) & 255);
}
inline int ChannelG(uint32_t c) {
    return int((c >> 8) & 255);
}
inline int ChannelB(uint32_t c) {
    return int(c & 255);
}

// Linear mix of two colours (all four channels), t in [0, 1].
uint32_t Mix(uint32_t a, uint32_t b, float t);
// Each colour channel multiplied by f (clamped), alpha kept.
uint32_t ShadeRgb(uint32_t c, float f);
// Parses "RRGGBB" or "AARRGGBB" hex; false when it is not one.
bool ParseColour(std::string_view hex, uint32_t& out);

void FillRect(Image& img, int x, int y, int w, int h, uint32_t colour);
// Filled ellipse centred at (cx, cy) with radii rx, ry.
void FillEllipse(Image& img, float cx, float cy, float rx, float ry, uint32_t colour);
// Source-over blend of colour (with its alpha) onto the pixel.
void BlendPixel(Image& img, int x, int y, uint32_t colour);

// Tileable value noise in [0, 1): period cells across, smooth between lattice points.
float ValueNoise(uint32_t seed, float x, float y, int period);
// Sum of octaves of ValueNoise, normalised to [0, 1).
float FractalNoise(uint32_t seed, float x, float y, int period, int octaves);
// An integer hash for per-pixel speckle.
uint32_t Hash3(uint32_t a, uint32_t b, uint32_t c);

// Text in the builder's 5 x 7 pixel font (capital letters, digits, a few signs, and 'v'),
// one pixel between letters; returns the width drawn. outline draws a one-pixel border around
// each lit pixel first.
int DrawPixelText(Image& img, int x, int y, std::string_view text, uint32_t colour,
                  uint32_t outline = 0);
int PixelTextWidth(std::string_view text);
