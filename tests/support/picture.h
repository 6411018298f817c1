#pragma once
// Pictures the game wrote (screenshots, reference pictures) read back as RGB for comparison.
#include <cstdint>
#include <filesystem>
#include <vector>

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    const uint8_t* At(int x, int y) const { return &rgb[size_t(y * w + x) * 3]; }
};

// The PNG file as RGB; an empty picture (w 0) when it cannot be read.
Picture LoadPicture(const std::filesystem::path& p);
// The picture at half its size, each pixel the average of a 2 x 2 block.
Picture HalfSize(const Picture& full);
