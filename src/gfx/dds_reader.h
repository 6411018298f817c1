#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/device_types.h"

// A DDS picture as the device takes it: one format and a mip chain, each level already laid out
// with the pitch the device uses for that format (tightly packed rows, or block rows for S3TC).
struct DdsImage {
    struct Level {
        uint32_t width = 0, height = 0, pitch = 0;
        std::vector<uint8_t> bytes;
    };
    uint32_t width = 0, height = 0;
    PixelFormat format = PixelFormat::Unknown;
    std::vector<Level> levels;
};

// The largest texture side the device accepts.
constexpr uint32_t kMaxTextureSide = 8192;

// Reads a DDS file held in memory (untrusted bytes). Formats the device has are kept as they are
// (S3TC blocks copied unchanged); luminance and other plain channel layouts are expanded to
// A8R8G8B8 (X8R8G8B8 without alpha). Cube maps, volumes, DX10 headers, unknown formats and
// truncated files are refused: false, with the reason in *error.
bool ReadDds(const uint8_t* data, size_t size, DdsImage* out, std::string* error);
