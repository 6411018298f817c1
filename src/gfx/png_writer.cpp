#include "gfx/png_writer.h"

#include <stb_image_write.h>

bool WritePng(const std::string& nativePath, const std::vector<uint32_t>& argb, int w, int h) {
    constexpr int kMaxSide = 1 << 15;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
    const size_t count = size_t(w) * size_t(h);
    if (argb.size() != count || nativePath.empty()) return false;
    std::vector<uint8_t> rgba(count * 4);
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = argb[i];
        rgba[i * 4 + 0] = uint8_t(c >> 16);
        rgba[i * 4 + 1] = uint8_t(c >> 8);
        rgba[i * 4 + 2] = uint8_t(c);
        rgba[i * 4 + 3] = uint8_t(c >> 24);
    }
    return stbi_write_png(nativePath.c_str(), w, h, 4, rgba.data(), w * 4) != 0;
}
