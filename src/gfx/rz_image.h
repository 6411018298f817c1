#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Pixel layouts of RZ_Image::type.
constexpr uint8_t kRzArgb8888 = 0;  // 32-bit words A8R8G8B8
constexpr uint8_t kRzBgr888 = 1;    // bytes blue, green, red
constexpr uint8_t kRzArgb4444 = 2;  // 16-bit words A4R4G4B4
constexpr uint8_t kRzRgb565 = 3;    // 16-bit words R5G6B5
constexpr uint8_t kRzRgb332 = 4;    // bytes R3G3B2, red in the top bits
constexpr uint8_t kRzPalette8 = 5;  // bytes indexing the palette

// The library's in-memory image: rows top to bottom, `stride` pixels apart. Owns its buffers;
// an empty vector stands for the null buffer.
struct RZ_Image {
    uint8_t type = 0;
    uint32_t stride = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> palette;  // 256 entries of blue, green, red, reserved; type 5 only
    std::vector<uint8_t> pixels;   // stride * height pixels

    // Frees both buffers and zeroes the record.
    void Destroy() { *this = RZ_Image{}; }
    static uint32_t BytesPerPixel(uint8_t type);
};

// The library's BMP reader: 8-bit files become type 5, 24-bit files type 1, with stride = width
// rounded up to 4 pixels. Writes its progress lines to standard output. Stored rows are taken
// from the header's data offset with their padding to 4 bytes, top-down files and short
// palettes are read as such; compressed, truncated or lying files are refused with a line.
bool RZ_ReadBmp(const std::string& sjisFileName, RZ_Image* image);
bool RZ_ReadBmpFromMemory(const uint8_t* data, size_t size, RZ_Image* image);

// Converts to type t (nothing happens when the image has it already): through A8R8G8B8, then
// packed into rows of width rounded up to 4 pixels.
void RZ_ConvertImage(RZ_Image* image, uint8_t t);

// The alpha rules of the library loader, for images of type 0 and 2 (others are left alone):
// mode 1 constant alphaValue, mode 0 alpha from brightness, any other mode a colour key.
void RZ_ApplyAlpha(RZ_Image* image, int alphaMode, float alphaValue, uint32_t colourKey);

// One progress or failure line (UTF-8) of the graphics and model libraries: to the log, never to
// standard output (base/diagnostics.h).
void RZ_Log(std::string_view utf8Line);
