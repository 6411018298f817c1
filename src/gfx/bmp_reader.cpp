#include "gfx/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "gfx/reader_fail.h"

namespace {

bool KnownHeaderSize(uint32_t size) {
    for (uint32_t known : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u})
        if (size == known) return true;
    return false;
}

// A channel of a 16- or 32-bit pixel widened to 8 bits by repeating its bits (a 5-bit 31 is
// 255, a 5-bit 16 is 132).
struct MaskBits {
    uint32_t mask = 0, shift = 0, bits = 0;
    bool Set(uint32_t m) {
        mask = m;
        if (m == 0) return true;
        shift = static_cast<uint32_t>(std::countr_zero(m));
        uint32_t v = m >> shift;
        bits = static_cast<uint32_t>(std::popcount(v));
        return (v & (v + 1)) == 0;  // contiguous
    }
    uint32_t Get(uint32_t pixel) const {
        if (mask == 0) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        uint32_t out = 0;
        for (int at = 8 - int(bits); at > -int(bits); at -= int(bits))
            out |= at >= 0 ? v << at : v >> -at;
        return out & 0xFF;
    }
};

bool CheckMasks(const BmpInfo& in, std::string* error) {
    MaskBits c[4];
    const uint32_t masks[4] = {in.redMask, in.greenMask, in.blueMask, in.alphaMask};
    uint64_t fits = in.bits == 32 ? 0xFFFFFFFFull : (1ull << in.bits) - 1, seen = 0;
    for (int i = 0; i < 4; ++i) {
        if (!c[i].Set(masks[i])) return ReaderFails(error, "a channel mask is not contiguous");
        if (masks[i] & seen) return ReaderFails(error, "channel masks overlap");
        seen |= masks[i];
    }
    if (seen > fits) return ReaderFails(error, "channel masks exceed the bit count");
    if ((in.redMask | in.greenMask | in.blueMask) == 0)
        return ReaderFails(error, "no colour masks");
    return true;
}

}  // namespace

bool ParseBmp(const uint8_t* data, size_t size, BmpInfo* info, std::string* error) {
    *info = BmpInfo{};
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M')
        return ReaderFails(error, "not a BMP");
    if (size < 18) return ReaderFails(error, "header is truncated");
    BmpInfo in;
    in.dataOffset = ReadU32(data + 10);
    in.headerSize = ReadU32(data + 14);
    if (!KnownHeaderSize(in.headerSize)) {
        char why[48];
        std::snprintf(why, sizeof why, "unknown header size %u", in.headerSize);
        return ReaderFails(error, why);
    }
    if (size < 14 + in.headerSize) return ReaderFails(error, "header is truncated");
    int64_t width, height;
    uint32_t planes, colours = 0;
    if (in.headerSize == 12) {  // OS/2: 16-bit sizes, 3-byte palette entries
        width = ReadU16(data + 18);
        height = int16_t(ReadU16(data + 20));
        planes = ReadU16(data + 22);
        in.bits = ReadU16(data + 24);
    } else {
        width = int32_t(ReadU32(data + 18));
        height = int32_t(ReadU32(data + 22));
        planes = ReadU16(data + 26);
        in.bits = ReadU16(data + 28);
        if (in.headerSize >= 20) in.compression = ReadU32(data + 30);
        if (in.headerSize >= 36) colours = ReadU32(data + 46);
    }
    if (planes != 1) return ReaderFails(error, "plane count is not 1");
    uint32_t b = in.bits;
    if (b != 1 && b != 2 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) {
        char why[48];
        std::snprintf(why, sizeof why, "bit count %u is not supported", b);
        return ReaderFails(error, why);
    }
    bool os2 = in.headerSize == 16 || in.headerSize == 64;
    if (in.compression == 1 || in.compression == 2 || (os2 && in.compression != 0))
        return ReaderFails(error, "compressed pixel data is not supported");
    if (in.compression == 4 || in.compression == 5)
        return ReaderFails(error, "embedded JPEG or PNG data is not supported");
    bool fields = in.compression == 3 || in.compression == 6;
    if (in.compression != 0 && !fields) return ReaderFails(error, "unknown compression");
    if (fields && b != 16 && b != 32) return ReaderFails(error, "bit fields need 16 or 32 bits");
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return ReaderFails(error, "image has no pixels");
    in.topDown = height < 0;
    in.width = uint32_t(width);
    in.height = uint32_t(height < 0 ? -height : height);
    if (in.width > kMaxBmpSide || in.height > kMaxBmpSide) {
        char why[80];
        std::snprintf(why, sizeof why, "%u x %u is larger than allowed", in.width, in.height);
        return ReaderFails(error, why);
    }
    if (in.dataOffset < 14 + in.headerSize)
        return ReaderFails(error, "pixel data offset points into the header");

    if (fields) {
        // The masks follow a 40-byte header or sit inside the longer ones: at 54 either way.
        bool alpha = in.compression == 6 || in.headerSize >= 56;
        if (size < (alpha ? 70u : 66u)) return ReaderFails(error, "channel masks are truncated");
        in.redMask = ReadU32(data + 54);
        in.greenMask = ReadU32(data + 58);
        in.blueMask = ReadU32(data + 62);
        if (alpha) in.alphaMask = ReadU32(data + 66);
    } else if (b == 16) {
        in.redMask = 0x7C00, in.greenMask = 0x3E0, in.blueMask = 0x1F;
    } else if (b == 32) {
        in.redMask = 0xFF0000, in.greenMask = 0xFF00, in.blueMask = 0xFF;
        in.alphaMask = 0xFF000000;
    }
    if ((b == 16 || b == 32) && !CheckMasks(in, error)) return false;

    if (b <= 8) {
        uint32_t max = 1u << b, entry = in.headerSize == 12 ? 3 : 4;
        size_t start = 14 + in.headerSize;
        if (colours > max) return ReaderFails(error, "palette is larger than the bit count allows");
        uint64_t count = colours ? colours : max;
        // A short palette (OS/2 files give no count) ends where the pixels begin.
        count = std::min<uint64_t>(count, (in.dataOffset - start) / entry);
        count = std::min<uint64_t>(count, (size - start) / entry);
        in.paletteCount = uint32_t(count);
        in.palette.assign(max, 0xFF000000);
        for (uint32_t i = 0; i < in.paletteCount; ++i) {
            const uint8_t* p = data + start + size_t(i) * entry;
            in.palette[i] = 0xFF000000 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    }

    uint64_t rowBytes = (uint64_t(in.width) * b + 31) / 32 * 4;
    in.rowBytes = uint32_t(rowBytes);
    if (uint64_t(in.dataOffset) + rowBytes * in.height > size)
        return ReaderFails(error, "pixel data is truncated");
    *info = std::move(in);
    return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, std::vector<uint32_t>* argb, BmpInfo* info,
               bool* hasAlpha, std::string* error) {
    argb->clear();
    if (!ParseBmp(data, size, info, error)) return false;
    const BmpInfo& in = *info;
    MaskBits r, g, b, a;
    r.Set(in.redMask);
    g.Set(in.greenMask);
    b.Set(in.blueMask);
    a.Set(in.alphaMask);
    argb->resize(size_t(in.width) * in.height);
    uint32_t anyAlpha = 0;
    for (uint32_t y = 0; y < in.height; ++y) {
        uint32_t stored = in.topDown ? y : in.height - 1 - y;
        const uint8_t* row = data + in.dataOffset + size_t(stored) * in.rowBytes;
        uint32_t* out = argb->data() + size_t(y) * in.width;
        for (uint32_t x = 0; x < in.width; ++x) {
            switch (in.bits) {
                case 1:
                case 2:
                case 4:
                case 8: {
                    uint32_t bit = x * in.bits;
                    uint32_t index =
                        (row[bit / 8] >> (8 - in.bits - bit % 8)) & ((1u << in.bits) - 1);
                    out[x] = in.palette[index];
                    break;
                }
                case 24: {
                    const uint8_t* p = row + size_t(x) * 3;
                    out[x] = 0xFF000000 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                    break;
                }
                default: {
                    uint32_t v =
                        in.bits == 16 ? ReadU16(row + size_t(x) * 2) : ReadU32(row + size_t(x) * 4);
                    uint32_t alpha = in.alphaMask ? a.Get(v) : 255;
                    anyAlpha |= alpha;
                    out[x] = alpha << 24 | r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
                }
            }
        }
    }
    *hasAlpha = in.alphaMask != 0;
    if (*hasAlpha && anyAlpha == 0)
        for (uint32_t& v : *argb) v |= 0xFF000000;
    return true;
}
