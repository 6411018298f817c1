#include "gfx/image_file.h"

#include <stb_image.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/sjis.h"
#include "gfx/bmp_reader.h"
#include "gfx/dds_reader.h"
#include "gfx/device.h"
#include "gfx/texture.h"

namespace {

// Far beyond any picture the game uses; keeps a damaged or wrong file from eating memory.
constexpr size_t kMaxFileBytes = size_t(256) << 20;

int32_t Refuse(const std::string& name, const std::string& why) {
    Diagnose(RunningPlace(), "cannot use the image " + ShownPath(name) + ": " + why);
    return kErrInvalidData;
}

// Copies rows of `rowBytes` into a locked level, whatever pitch the texture uses.
int32_t FillLevel(GfxTexture* tex, uint32_t level, const uint8_t* src, uint32_t srcPitch,
                  uint32_t rows, uint32_t rowBytes) {
    LockedRect r;
    int32_t hr = tex->LockRect(level, &r);
    if (hr != kOk) return hr;
    auto* dst = static_cast<uint8_t*>(r.bits);
    for (uint32_t y = 0; y < rows; ++y)
        std::memcpy(dst + size_t(y) * r.pitch, src + size_t(y) * srcPitch, rowBytes);
    return tex->UnlockRect(level);
}

int32_t CreateFromDds(GfxDevice* device, const uint8_t* data, size_t size, GfxTexture** out,
                      const std::string& name) {
    DdsImage img;
    std::string why;
    if (!ReadDds(data, size, &img, &why)) return Refuse(name, why);
    GfxTexture* tex = nullptr;
    int32_t hr = device->CreateTexture(img.width, img.height, uint32_t(img.levels.size()), 0,
                                       img.format, Pool::Managed, &tex);
    if (hr != kOk) return hr;
    for (uint32_t i = 0; i < img.levels.size() && hr == kOk; ++i) {
        const DdsImage::Level& lv = img.levels[i];
        uint32_t rows = GfxTexture::IsCompressed(img.format) ? (lv.height + 3) / 4 : lv.height;
        hr = FillLevel(tex, i, lv.bytes.data(), lv.pitch, rows, lv.pitch);
    }
    if (hr != kOk) {
        tex->Release();
        return hr;
    }
    *out = tex;
    return kOk;
}

// Half-size level by averaging 2 x 2 blocks; an odd last row or column is folded into the one
// before it by clamping, as the sizes shrink by halving rounded down.
std::vector<uint32_t> BoxFilter(const std::vector<uint32_t>& src, uint32_t sw, uint32_t sh,
                                uint32_t dw, uint32_t dh) {
    std::vector<uint32_t> dst(size_t(dw) * dh);
    for (uint32_t y = 0; y < dh; ++y) {
        uint32_t y0 = std::min(2 * y, sh - 1), y1 = std::min(2 * y + 1, sh - 1);
        for (uint32_t x = 0; x < dw; ++x) {
            uint32_t x0 = std::min(2 * x, sw - 1), x1 = std::min(2 * x + 1, sw - 1);
            uint32_t p[4] = {src[size_t(y0) * sw + x0], src[size_t(y0) * sw + x1],
                             src[size_t(y1) * sw + x0], src[size_t(y1) * sw + x1]};
            uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = 2;  // rounds to nearest
                for (uint32_t v : p) sum += (v >> shift) & 0xFF;
                result |= (sum / 4) << shift;
            }
            dst[size_t(y) * dw + x] = result;
        }
    }
    return dst;
}

// A texture with a full mip chain from A8R8G8B8 words, rows top to bottom.
int32_t CreateFromArgb(GfxDevice* device, std::vector<uint32_t> argb, uint32_t width,
                       uint32_t height, bool alpha, GfxTexture** out) {
    GfxTexture* tex = nullptr;
    PixelFormat format = alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8;
    int32_t hr = device->CreateTexture(width, height, 0, 0, format, Pool::Managed, &tex);
    if (hr != kOk) return hr;
    for (uint32_t i = 0; i < tex->GetLevelCount() && hr == kOk; ++i) {
        uint32_t lw = 0, lh = 0;
        tex->GetLevelDesc(i, &lw, &lh);
        if (i > 0) {
            argb = BoxFilter(argb, width, height, lw, lh);
            width = lw;
            height = lh;
        }
        hr = FillLevel(tex, i, reinterpret_cast<const uint8_t*>(argb.data()), lw * 4, lh, lw * 4);
    }
    if (hr != kOk) {
        tex->Release();
        return hr;
    }
    *out = tex;
    return kOk;
}

// BMP files go through the engine's own reader: it honours the data offset, short palettes
// and top-down rows, and refuses truncated files, where stb_image would fill in black or
// read colours from an uninitialised palette.
int32_t CreateFromBmp(GfxDevice* device, const uint8_t* data, size_t size, GfxTexture** out,
                      const std::string& name) {
    std::vector<uint32_t> argb;
    BmpInfo info;
    bool alpha = false;
    std::string why;
    if (!DecodeBmp(data, size, &argb, &info, &alpha, &why)) return Refuse(name, why);
    return CreateFromArgb(device, std::move(argb), info.width, info.height, alpha, out);
}

int32_t CreateFromStb(GfxDevice* device, const uint8_t* data, size_t size, GfxTexture** out,
                      const std::string& name) {
    if (size == 0) return Refuse(name, "file is empty");
    if (size > size_t(INT_MAX)) return Refuse(name, "file too large");
    int w = 0, h = 0, comp = 0;
    if (!stbi_info_from_memory(data, int(size), &w, &h, &comp))
        return Refuse(name, std::string("unknown image format (") + stbi_failure_reason() + ")");
    if (w <= 0 || h <= 0 || uint32_t(w) > kMaxTextureSide || uint32_t(h) > kMaxTextureSide) {
        char why[80];
        std::snprintf(why, sizeof why, "%d x %d is larger than the device allows", w, h);
        return Refuse(name, why);
    }
    stbi_uc* rgba = stbi_load_from_memory(data, int(size), &w, &h, &comp, 4);
    if (!rgba) return Refuse(name, std::string("cannot decode: ") + stbi_failure_reason());
    bool alpha = comp == 2 || comp == 4;
    std::vector<uint32_t> argb(size_t(w) * h);
    for (size_t i = 0; i < argb.size(); ++i) {
        const stbi_uc* p = rgba + i * 4;
        argb[i] =
            uint32_t(alpha ? p[3] : 255) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    stbi_image_free(rgba);
    return CreateFromArgb(device, std::move(argb), uint32_t(w), uint32_t(h), alpha, out);
}

}  // namespace

int32_t CreateTextureFromMemory(GfxDevice* device, const uint8_t* data, size_t size,
                                GfxTexture** out, const std::string& name) {
    if (!out) return kErrInvalidCall;
    *out = nullptr;
    if (!device || (!data && size > 0)) return kErrInvalidCall;
    if (size >= 4 && std::memcmp(data, "DDS ", 4) == 0)
        return CreateFromDds(device, data, size, out, name);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return CreateFromBmp(device, data, size, out, name);
    return CreateFromStb(device, data, size, out, name);
}

int32_t CreateTextureFromFile(GfxDevice* device, const std::string& sjisGamePath,
                              GfxTexture** out) {
    if (!out) return kErrInvalidCall;
    *out = nullptr;
    if (!device) return kErrInvalidCall;
    const FileRead file = ReadGameFile(sjisGamePath, kMaxFileBytes, LongFile::kRefuse);
    if (file.status == FileStatus::kTooLong)
        return Refuse(sjisGamePath, "cannot be read or is too large");
    if (file.status == FileStatus::kReadError) return Refuse(sjisGamePath, "read error");
    if (file.status == FileStatus::kDirectory) return Refuse(sjisGamePath, "a folder, not a file");
    if (file.status == FileStatus::kUnreadable) return Refuse(sjisGamePath, "cannot be opened");
    if (!file.Ok()) return kErrNotFound;
    return CreateTextureFromMemory(device, file.Data(), file.bytes.size(), out, sjisGamePath);
}
