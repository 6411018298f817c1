#include "gfx/rz_image.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/sjis.h"
#include "gfx/bmp_reader.h"

namespace {

// Far beyond any material picture; keeps a wrong file from eating memory.
constexpr size_t kMaxBmpFileBytes = size_t(256) << 20;

uint32_t Stride4(uint32_t width) {
    return (width + 3) & ~3u;
}

uint32_t ReadWord(const uint8_t* p, uint32_t bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void WriteWord(uint8_t* p, uint32_t v, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

// One pixel of any layout as A8R8G8B8.
uint32_t Expand(const RZ_Image& img, const uint8_t* p) {
    uint32_t v = ReadWord(p, RZ_Image::BytesPerPixel(img.type));
    uint32_t a = 255, r, g, b;
    switch (img.type) {
        case kRzPalette8: {
            const uint8_t* e = &img.palette[size_t(v) * 4];
            b = e[0], g = e[1], r = e[2];
            break;
        }
        case kRzRgb332:
            r = (v >> 5) << 5, g = ((v >> 2) & 7) << 5, b = (v & 3) << 6;
            break;
        case kRzArgb4444:
            a = (v >> 12) << 4, r = ((v >> 8) & 15) << 4, g = ((v >> 4) & 15) << 4,
            b = (v & 15) << 4;
            break;
        case kRzRgb565:
            r = (v >> 11) << 3, g = ((v >> 5) & 63) << 2, b = (v & 31) << 3;
            break;
        case kRzBgr888:
            b = p[0], g = p[1], r = p[2];
            break;
        default:
            return v;
    }
    return a << 24 | r << 16 | g << 8 | b;
}

uint32_t Pack(uint8_t t, uint32_t argb) {
    uint32_t a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
    switch (t) {
        case kRzArgb4444:
            return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
        case kRzRgb565:
            return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        default:  // kRzRgb332
            return (r >> 5) << 5 | (g >> 5) << 2 | (b >> 6);
    }
}

bool Consistent(const RZ_Image& img) {
    uint32_t bpp = RZ_Image::BytesPerPixel(img.type);
    return bpp != 0 && img.stride >= img.width &&
           img.pixels.size() >= size_t(img.stride) * img.height * bpp &&
           (img.type != kRzPalette8 || img.palette.size() >= 1024);
}

// alphaValue truncated to an integer, without undefined behaviour for wild values.
int32_t Truncate(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

uint32_t RZ_Image::BytesPerPixel(uint8_t type) {
    static constexpr uint32_t kBytes[] = {4, 3, 2, 2, 1, 1};
    return type < 6 ? kBytes[type] : 0;
}

void RZ_Log(std::string_view utf8Line) {
    LogProgress(utf8Line);
}

bool RZ_ReadBmp(const std::string& sjisFileName, RZ_Image* image) {
    image->Destroy();
    const FileRead file = ReadGameFile(sjisFileName, kMaxBmpFileBytes, LongFile::kRefuse);
    if (file.status != FileStatus::kRead && file.status != FileStatus::kTooLong &&
        file.status != FileStatus::kReadError) {
        RZ_Log(ToUtf8(sjisFileName) + "が開けません!");
        return false;
    }
    RZ_Log("file size = " + std::to_string(file.size));
    if (file.status == FileStatus::kTooLong) {
        RZ_Log("file is too large");
        return false;
    }
    return RZ_ReadBmpFromMemory(file.Data(), file.bytes.size(), image);
}

bool RZ_ReadBmpFromMemory(const uint8_t* data, size_t size, RZ_Image* image) {
    image->Destroy();
    if (!data || size <= 2 || data[0] != 'B' || data[1] != 'M') return false;
    if (size < 54) {
        RZ_Log("bmp header is truncated");
        return false;
    }
    RZ_Log("biSizeImage = " + std::to_string(ReadU32(data + 34)));
    uint32_t bits = ReadU16(data + 28);
    if (bits != 8 && bits != 24) {
        RZ_Log("color type = " + std::to_string(bits) + " is not support!");
        return false;
    }
    uint32_t compression = ReadU32(data + 30), headerSize = ReadU32(data + 14);
    if (compression != 0) {
        RZ_Log("compression = " + std::to_string(compression) + " is not support!");
        return false;
    }
    if (headerSize < 40) {
        RZ_Log("header size = " + std::to_string(headerSize) + " is not support!");
        return false;
    }
    BmpInfo info;
    std::string why;
    if (!ParseBmp(data, size, &info, &why)) {
        RZ_Log("bmp " + why);
        return false;
    }
    RZ_Image img;
    img.type = bits == 8 ? kRzPalette8 : kRzBgr888;
    img.width = info.width;
    img.stride = Stride4(info.width);
    img.height = info.height;
    RZ_Log("size = " + std::to_string(uint64_t(img.height) * img.stride * bits / 8));
    uint32_t bpp = bits / 8;
    if (img.type == kRzPalette8) {
        img.palette.assign(1024, 0);
        // Entries the file does not hold stay black.
        for (size_t i = 0; i < 256 && i < info.paletteCount; ++i) {
            uint32_t c = info.palette[i];
            img.palette[i * 4] = uint8_t(c);
            img.palette[i * 4 + 1] = uint8_t(c >> 8);
            img.palette[i * 4 + 2] = uint8_t(c >> 16);
        }
    }
    // Stored rows are padded to 4 bytes and start at the data offset; bottom-up files keep
    // their first row last.
    img.pixels.assign(size_t(img.stride) * img.height * bpp, 0);
    for (uint32_t y = 0; y < img.height; ++y) {
        uint32_t stored = info.topDown ? y : img.height - 1 - y;
        std::memcpy(&img.pixels[size_t(y) * img.stride * bpp],
                    data + info.dataOffset + size_t(stored) * info.rowBytes,
                    size_t(img.width) * bpp);
    }
    *image = std::move(img);
    return true;
}

void RZ_ConvertImage(RZ_Image* image, uint8_t t) {
    RZ_Image& img = *image;
    if (img.type == t || (t != kRzArgb8888 && t != kRzArgb4444 && t != kRzRgb565 && t != kRzRgb332))
        return;
    if (!Consistent(img)) return;
    if (img.type != kRzArgb8888) {
        uint32_t bpp = RZ_Image::BytesPerPixel(img.type);
        std::vector<uint8_t> wide(size_t(img.width) * img.height * 4);
        for (uint32_t y = 0; y < img.height; ++y)
            for (uint32_t x = 0; x < img.width; ++x)
                WriteWord(&wide[(size_t(y) * img.width + x) * 4],
                          Expand(img, &img.pixels[(size_t(y) * img.stride + x) * bpp]), 4);
        img.pixels = std::move(wide);
        img.palette.clear();
        img.stride = img.width;
        img.type = kRzArgb8888;
    }
    if (t == kRzArgb8888) return;
    uint32_t stride = Stride4(img.width), bpp = RZ_Image::BytesPerPixel(t);
    std::vector<uint8_t> packed(size_t(stride) * img.height * bpp, 0);
    for (uint32_t y = 0; y < img.height; ++y)
        for (uint32_t x = 0; x < img.width; ++x)
            WriteWord(&packed[(size_t(y) * stride + x) * bpp],
                      Pack(t, ReadWord(&img.pixels[(size_t(y) * img.stride + x) * 4], 4)), bpp);
    img.pixels = std::move(packed);
    img.stride = stride;
    img.type = t;
}

void RZ_ApplyAlpha(RZ_Image* image, int alphaMode, float alphaValue, uint32_t colourKey) {
    RZ_Image& img = *image;
    if ((img.type != kRzArgb8888 && img.type != kRzArgb4444) || !Consistent(img)) return;
    bool wide = img.type == kRzArgb8888;
    uint32_t bpp = wide ? 4 : 2;
    uint32_t constant = uint32_t(Truncate(alphaValue));
    for (uint32_t y = 0; y < img.height; ++y) {
        for (uint32_t x = 0; x < img.width; ++x) {
            uint8_t* p = &img.pixels[(size_t(y) * img.stride + x) * bpp];
            uint32_t v = ReadWord(p, bpp), a;
            if (wide) {
                uint32_t r = (v >> 16) & 255, g = (v >> 8) & 255, b = v & 255;
                if (alphaMode == 1)
                    a = constant & 255;
                else if (alphaMode == 0)
                    a = (r * r + g * g + b * b) / 765;
                else
                    a = (v & 0xFFFFFF) == (colourKey & 0xFFFFFF) ? 0 : 255;
                v = (v & 0xFFFFFF) | a << 24;
            } else {
                uint32_t r = (v >> 8) & 15, g = (v >> 4) & 15, b = v & 15;
                if (alphaMode == 1)
                    a = constant & 15;
                else if (alphaMode == 0)
                    a = ((r * r + g * g + b * b) / 45) & 15;
                else
                    a = (v & 0xFFF) == (colourKey & 0xFFF) ? 0 : 15;
                v = (v & 0xFFF) | a << 12;
            }
            WriteWord(p, v, bpp);
        }
    }
}
