#include "gfx/dds_reader.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "gfx/reader_fail.h"
#include "gfx/texture.h"

namespace {

constexpr size_t kHeaderEnd = 128;  // magic + 124-byte header

// Header flags and capability bits.
constexpr uint32_t kFlagMipMapCount = 0x20000;
constexpr uint32_t kFlagDepth = 0x800000;
constexpr uint32_t kPfAlphaPixels = 0x1;
constexpr uint32_t kPfAlpha = 0x2;
constexpr uint32_t kPfFourCC = 0x4;
constexpr uint32_t kPfRgb = 0x40;
constexpr uint32_t kPfLuminance = 0x20000;
constexpr uint32_t kCaps2CubeMap = 0x200;
constexpr uint32_t kCaps2Volume = 0x200000;

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

// How the file's pixels become the texture's.
struct PixelLayout {
    PixelFormat format = PixelFormat::Unknown;  // the texture's format
    uint32_t srcBytes = 0;                      // bytes per source pixel; 0 for S3TC
    bool expand = false;                        // widen through the masks below to 32 bits
    uint32_t r = 0, g = 0, b = 0, a = 0;
};

struct MaskChannel {
    uint32_t mask = 0, shift = 0, max = 0;
    bool Set(uint32_t m) {
        mask = m;
        if (m == 0) return true;
        shift = static_cast<uint32_t>(std::countr_zero(m));
        max = m >> shift;
        return (max & (max + 1)) == 0;  // contiguous bits only
    }
    uint32_t Get(uint32_t pixel, uint32_t fallback) const {
        if (mask == 0) return fallback;
        uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

std::string FourCCText(uint32_t code) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        char c = static_cast<char>((code >> (8 * i)) & 0xFF);
        s += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    char num[16];
    std::snprintf(num, sizeof num, " (0x%08X)", code);
    return "\"" + s + "\"" + num;
}

// Formats the device holds as they are, by bit count and masks.
PixelFormat DirectFormat(uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    struct Row {
        uint32_t bits, r, g, b, a;
        PixelFormat format;
    };
    static constexpr Row kRows[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, PixelFormat::A8R8G8B8},
        {32, 0xFF0000, 0xFF00, 0xFF, 0, PixelFormat::X8R8G8B8},
        {24, 0xFF0000, 0xFF00, 0xFF, 0, PixelFormat::R8G8B8},
        {16, 0xF800, 0x7E0, 0x1F, 0, PixelFormat::R5G6B5},
        {16, 0x7C00, 0x3E0, 0x1F, 0x8000, PixelFormat::A1R5G5B5},
        {16, 0x7C00, 0x3E0, 0x1F, 0, PixelFormat::X1R5G5B5},
        {16, 0xF00, 0xF0, 0xF, 0xF000, PixelFormat::A4R4G4B4},
        {16, 0xF00, 0xF0, 0xF, 0, PixelFormat::X4R4G4B4},
        {8, 0xE0, 0x1C, 0x3, 0, PixelFormat::R3G3B2},
        {8, 0, 0, 0, 0xFF, PixelFormat::A8},
    };
    for (const Row& row : kRows)
        if (row.bits == bits && row.r == r && row.g == g && row.b == b && row.a == a)
            return row.format;
    return PixelFormat::Unknown;
}

bool ChooseLayout(const uint8_t* pf, PixelLayout* out, std::string* error) {
    uint32_t flags = ReadU32(pf + 4), fourCC = ReadU32(pf + 8), bits = ReadU32(pf + 12);
    uint32_t r = ReadU32(pf + 16), g = ReadU32(pf + 20), b = ReadU32(pf + 24), a = ReadU32(pf + 28);
    PixelLayout lay;
    if (flags & kPfFourCC) {
        switch (fourCC) {
            case FourCC('D', 'X', 'T', '1'):
                lay.format = PixelFormat::Dxt1;
                break;
            case FourCC('D', 'X', 'T', '2'):
                lay.format = PixelFormat::Dxt2;
                break;
            case FourCC('D', 'X', 'T', '3'):
                lay.format = PixelFormat::Dxt3;
                break;
            case FourCC('D', 'X', 'T', '4'):
                lay.format = PixelFormat::Dxt4;
                break;
            case FourCC('D', 'X', 'T', '5'):
                lay.format = PixelFormat::Dxt5;
                break;
            case FourCC('D', 'X', '1', '0'):
                return ReaderFails(error, "extended (DX10) headers are not supported");
            default: {
                // Some writers put the device's numeric format code in the FourCC field.
                auto f = static_cast<PixelFormat>(fourCC);
                uint32_t bpp = fourCC < 0x100 ? GfxTexture::BytesPerPixel(f) : 0;
                if (bpp == 0) return ReaderFails(error, "unknown FourCC " + FourCCText(fourCC));
                lay.format = f;
                lay.srcBytes = bpp;
            }
        }
        *out = lay;
        return true;
    }
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        char why[64];
        std::snprintf(why, sizeof why, "unsupported bit count %u", bits);
        return ReaderFails(error, why);
    }
    lay.srcBytes = bits / 8;
    if (!(flags & (kPfAlphaPixels | kPfAlpha))) a = 0;  // the alpha mask counts only when flagged
    if (flags & kPfLuminance) {
        g = b = r;  // one grey channel
    } else if (flags & kPfAlpha && !(flags & kPfRgb)) {
        r = g = b = 0;  // alpha only
    } else if (!(flags & kPfRgb)) {
        return ReaderFails(error, "pixel format is neither FourCC, RGB, luminance nor alpha");
    }
    if (!(flags & kPfLuminance)) lay.format = DirectFormat(bits, r, g, b, a);
    if (lay.format != PixelFormat::Unknown) {
        *out = lay;
        return true;
    }
    uint64_t fits = bits == 32 ? 0xFFFFFFFFull : (1ull << bits) - 1;
    if ((r | g | b) == 0 && a == 0) return ReaderFails(error, "pixel format has no channel masks");
    if ((r | g | b | a) > fits) return ReaderFails(error, "channel masks exceed the bit count");
    MaskChannel cr, cg, cb, ca;
    if (!cr.Set(r) || !cg.Set(g) || !cb.Set(b) || !ca.Set(a))
        return ReaderFails(error, "channel masks are not contiguous");
    lay.expand = true;
    lay.format = a ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8;
    lay.r = r;
    lay.g = g;
    lay.b = b;
    lay.a = a;
    *out = lay;
    return true;
}

// Bytes one level takes in the file.
uint64_t SourceSize(const PixelLayout& lay, uint32_t w, uint32_t h) {
    if (lay.srcBytes == 0) return GfxTexture::SizeFor(lay.format, w, h);
    return uint64_t(w) * h * lay.srcBytes;
}

void ExpandLevel(const PixelLayout& lay, const uint8_t* src, DdsImage::Level& lv) {
    MaskChannel cr, cg, cb, ca;
    cr.Set(lay.r);
    cg.Set(lay.g);
    cb.Set(lay.b);
    ca.Set(lay.a);
    size_t count = size_t(lv.width) * lv.height;
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = 0;
        for (uint32_t k = 0; k < lay.srcBytes; ++k)
            p |= uint32_t(src[i * lay.srcBytes + k]) << (8 * k);
        uint32_t argb =
            ca.Get(p, 255) << 24 | cr.Get(p, 0) << 16 | cg.Get(p, 0) << 8 | cb.Get(p, 0);
        std::memcpy(&lv.bytes[i * 4], &argb, 4);  // little-endian words, as the device keeps them
    }
}

}  // namespace

bool ReadDds(const uint8_t* data, size_t size, DdsImage* out, std::string* error) {
    *out = DdsImage{};
    if (!data || size < 4 || std::memcmp(data, "DDS ", 4) != 0)
        return ReaderFails(error, "not a DDS file");
    if (size < kHeaderEnd) return ReaderFails(error, "header is truncated");
    const uint8_t* hd = data + 4;
    if (ReadU32(hd) != 124) return ReaderFails(error, "header size is not 124");
    uint32_t flags = ReadU32(hd + 4), height = ReadU32(hd + 8), width = ReadU32(hd + 12);
    uint32_t depth = ReadU32(hd + 20), mipCount = ReadU32(hd + 24);
    uint32_t caps2 = ReadU32(hd + 108);
    if (caps2 & kCaps2CubeMap) return ReaderFails(error, "cube maps are not supported");
    if ((caps2 & kCaps2Volume) || ((flags & kFlagDepth) && depth > 1))
        return ReaderFails(error, "volume textures are not supported");
    if (width == 0 || height == 0) return ReaderFails(error, "image has no pixels");
    if (width > kMaxTextureSide || height > kMaxTextureSide) {
        char why[80];
        std::snprintf(why, sizeof why, "%u x %u is larger than the device allows", width, height);
        return ReaderFails(error, why);
    }
    PixelLayout lay;
    if (!ChooseLayout(hd + 72, &lay, error)) return false;

    // The chain the device builds for this size; a header that claims more is cut to it.
    uint32_t chain = 1;
    for (uint32_t w = width, h = height; w > 1 || h > 1; ++chain) {
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    uint32_t levels = (flags & kFlagMipMapCount) && mipCount > 0 ? std::min(mipCount, chain) : 1;

    // Every level must be in the file before anything is allocated; the header's pitch field is
    // not trusted (writers disagree about it).
    uint64_t need = 0;
    for (uint32_t i = 0, w = width, h = height; i < levels; ++i) {
        need += SourceSize(lay, w, h);
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    if (need > size - kHeaderEnd) {
        char why[96];
        std::snprintf(why, sizeof why, "pixel data is truncated (%llu bytes needed, %llu present)",
                      static_cast<unsigned long long>(need),
                      static_cast<unsigned long long>(size - kHeaderEnd));
        return ReaderFails(error, why);
    }

    out->width = width;
    out->height = height;
    out->format = lay.format;
    out->levels.resize(levels);
    const uint8_t* src = data + kHeaderEnd;
    for (uint32_t i = 0, w = width, h = height; i < levels; ++i) {
        DdsImage::Level& lv = out->levels[i];
        lv.width = w;
        lv.height = h;
        lv.pitch = GfxTexture::PitchFor(lay.format, w);
        size_t srcSize = static_cast<size_t>(SourceSize(lay, w, h));
        if (lay.expand) {
            lv.bytes.assign(GfxTexture::SizeFor(lay.format, w, h), 0);
            ExpandLevel(lay, src, lv);
        } else {
            lv.bytes.assign(src, src + srcSize);
        }
        src += srcSize;
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    return true;
}
