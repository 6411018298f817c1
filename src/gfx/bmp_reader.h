#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a BMP file's headers say, checked against the file's length: every row the headers
// promise is inside the file when ParseBmp succeeds.
struct BmpInfo {
    uint32_t headerSize = 0;  // 12 (OS/2), 16 or 64 (OS/2 2), 40, 52, 56, 108, 124
    uint32_t dataOffset = 0;  // where the first stored row begins
    uint32_t width = 0;
    uint32_t height = 0;       // always positive; see topDown
    bool topDown = false;      // rows stored top first (negative height in the file)
    uint32_t bits = 0;         // 1, 2, 4, 8, 16, 24 or 32
    uint32_t compression = 0;  // 0 plain, 3 or 6 bit fields
    uint32_t rowBytes = 0;     // stored row length, padded to 4 bytes
    // Channel masks for 16 and 32 bits; alpha only where the file says so.
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    // Palette for 8 bits and fewer as A8R8G8B8 words (alpha 255). Always 1 << bits entries:
    // those the file does not hold are black, so any index is safe.
    std::vector<uint32_t> palette;
    uint32_t paletteCount = 0;  // entries the file holds
};

// The largest side the reader takes: as large as the device allows textures.
constexpr uint32_t kMaxBmpSide = 8192;

// Reads and checks the headers of a BMP held in memory (untrusted). Compressed files (RLE,
// JPEG, PNG, Huffman), impossible sizes, palettes and masks and truncated pixel data are
// refused: false, with the reason in *error.
bool ParseBmp(const uint8_t* data, size_t size, BmpInfo* info, std::string* error);

// Decodes a plain BMP to A8R8G8B8 words, rows top to bottom. *hasAlpha tells whether the file
// carries alpha: 32-bit files and files with an alpha mask do, but when every alpha value is
// zero the picture is taken as opaque (the byte was merely unused).
bool DecodeBmp(const uint8_t* data, size_t size, std::vector<uint32_t>* argb, BmpInfo* info,
               bool* hasAlpha, std::string* error);
