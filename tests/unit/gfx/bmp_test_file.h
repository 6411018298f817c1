#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

// Writes BMP files for the tests: file header, a 40-byte info header, then `extra` (masks or
// palette), a gap of `gap` bytes, and the stored rows as given (bottom row first unless the
// height is negative). The data offset points behind the gap.
struct BmpSpec {
    int32_t width = 4, height = 2;
    uint16_t bits = 24, planes = 1;
    uint32_t compression = 0, colours = 0;
    uint32_t headerSize = 40;
    std::vector<uint8_t> extra{};
    uint32_t gap = 0;
};

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> f(14 + s.headerSize, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&f[at], &v, 2); };
    f[0] = 'B', f[1] = 'M';
    put32(14, s.headerSize);
    put32(18, uint32_t(s.width));
    put32(22, uint32_t(s.height));
    put16(26, s.planes);
    put16(28, s.bits);
    put32(30, s.compression);
    if (s.headerSize >= 40) put32(46, s.colours);
    f.insert(f.end(), s.extra.begin(), s.extra.end());
    f.insert(f.end(), s.gap, 0xEE);
    put32(10, uint32_t(f.size()));
    f.insert(f.end(), rows.begin(), rows.end());
    put32(2, uint32_t(f.size()));
    return f;
}

// Palette entries as blue, green, red, reserved.
inline std::vector<uint8_t> Palette(const std::vector<uint32_t>& rgb) {
    std::vector<uint8_t> out;
    for (uint32_t c : rgb) {
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c >> 16));
        out.push_back(0);
    }
    return out;
}
