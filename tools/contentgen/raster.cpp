#include "raster.h"

#include <algorithm>
#include <cmath>

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto ch = [t](int x, int y) { return int(std::lround(float(x) + float(y - x) * t)); };
    return Argb(ch(ChannelA(a), ChannelA(b)), ch(ChannelR(a), ChannelR(b)),
                ch(ChannelG(a), ChannelG(b)), ch(ChannelB(a), ChannelB(b)));
}

uint32_t ShadeRgb(uint32_t c, float f) {
    auto ch = [f](int x) { return std::clamp(int(std::lround(float(x) * f)), 0, 255); };
    return Argb(ChannelA(c), ch(ChannelR(c)), ch(ChannelG(c)), ch(ChannelB(c)));
}

bool ParseColour(std::string_view hex, uint32_t& out) {
    if (hex.size() != 6 && hex.size() != 8) return false;
    uint32_t v = 0;
    for (char c : hex) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0) return false;
        v = (v << 4) | uint32_t(d);
    }
    out = hex.size() == 6 ? (0xFF000000u | v) : v;
    return true;
}

void FillRect(Image& img, int x, int y, int w, int h, uint32_t colour) {
    for (int j = std::max(y, 0); j < std::min(y + h, img.height); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, img.width); ++i) img.At(i, j) = colour;
}

void FillEllipse(Image& img, float cx, float cy, float rx, float ry, uint32_t colour) {
    for (int j = 0; j < img.height; ++j) {
        for (int i = 0; i < img.width; ++i) {
            float dx = (float(i) + 0.5f - cx) / rx, dy = (float(j) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) img.At(i, j) = colour;
        }
    }
}

void BlendPixel(Image& img, int x, int y, uint32_t colour) {
    if (!img.Inside(x, y)) return;
    uint32_t& d = img.At(x, y);
    const float a = float(ChannelA(colour)) / 255.0f;
    const int outA = std::max(ChannelA(d), ChannelA(colour));
    uint32_t mixed = Mix(d, colour, a);
    d = (mixed & 0x00FFFFFFu) | (uint32_t(outA) << 24);
}

uint32_t Hash3(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

namespace {

float Lattice(uint32_t seed, int x, int y, int period) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return float(Hash3(seed, uint32_t(x), uint32_t(y)) & 0xFFFF) / 65536.0f;
}

float Smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

float ValueNoise(uint32_t seed, float x, float y, int period) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = Smooth(x - float(x0)), fy = Smooth(y - float(y0));
    const float a = Lattice(seed, x0, y0, period), b = Lattice(seed, x0 + 1, y0, period);
    const float c = Lattice(seed, x0, y0 + 1, period), d = Lattice(seed, x0 + 1, y0 + 1, period);
    const float top = a + (b - a) * fx, bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

float FractalNoise(uint32_t seed, float x, float y, int period, int octaves) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(seed + uint32_t(o) * 101u, x, y, period) * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / total;
}

namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
    {'v', {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {'>', {0x10, 0x08, 0x04, 0x02, 0x04, 0x08, 0x10}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

int PixelTextWidth(std::string_view text) {
    return text.empty() ? 0 : int(text.size()) * 6 - 1;
}

int DrawPixelText(Image& img, int x, int y, std::string_view text, uint32_t colour,
                  uint32_t outline) {
    for (int pass = outline ? 0 : 1; pass < 2; ++pass) {
        int cx = x;
        for (char c : text) {
            const Glyph* g = FindGlyph(c);
            if (!g) g = FindGlyph('?');
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (!(g->rows[row] & (0x10 >> col))) continue;
                    if (pass == 1) {
                        if (img.Inside(cx + col, y + row)) img.At(cx + col, y + row) = colour;
                        continue;
                    }
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            if (img.Inside(cx + col + dx, y + row + dy))
                                img.At(cx + col + dx, y + row + dy) = outline;
                }
            }
            cx += 6;
        }
    }
    return PixelTextWidth(text);
}
