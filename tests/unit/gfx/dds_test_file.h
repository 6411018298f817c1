#pragma once
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// Writes DDS files for the tests: a header with the fields given and the payload behind it.
struct DdsSpec {
    uint32_t width = 4, height = 4;
    uint32_t flags = 0x1007;  // caps, height, width, pixel format
    uint32_t pitch = 0, depth = 0, mipCount = 0;
    uint32_t pfFlags = 0x40;  // RGB
    uint32_t fourCC = 0, bits = 32;
    uint32_t r = 0xFF0000, g = 0xFF00, b = 0xFF, a = 0;
    uint32_t caps2 = 0;
    uint32_t headerSize = 124;
};

inline uint32_t TestFourCC(const char* s) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

inline std::vector<uint8_t> MakeDds(const DdsSpec& s, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> f(128, 0);
    std::memcpy(f.data(), "DDS ", 4);
    // (offset, value): the header, the pixel format (32 bytes) and the caps (a texture).
    const std::pair<size_t, uint32_t> fields[] = {
        {4, s.headerSize}, {8, s.flags},     {12, s.height}, {16, s.width},   {20, s.pitch},
        {24, s.depth},     {28, s.mipCount}, {76, 32},       {80, s.pfFlags}, {84, s.fourCC},
        {88, s.bits},      {92, s.r},        {96, s.g},      {100, s.b},      {104, s.a},
        {108, 0x1000},     {112, s.caps2}};
    for (auto [at, v] : fields) std::memcpy(&f[at], &v, 4);
    f.insert(f.end(), payload.begin(), payload.end());
    return f;
}

inline std::vector<uint8_t> Sequence(size_t n, uint8_t start = 1) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(start + i * 7);
    return v;
}
