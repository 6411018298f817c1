#include "gfx/texture.h"

#include "gfx/device.h"

GfxTexture::GfxTexture(GfxDevice* device, uint32_t width, uint32_t height, uint32_t levels,
                       PixelFormat format, Pool pool)
    : device_(device), width_(width), height_(height), format_(format), pool_(pool) {
    uint32_t w = width, h = height;
    for (uint32_t i = 0; i < levels; ++i) {
        Level lv{w, h, PitchFor(format, w), {}};
        lv.bytes.assign(SizeFor(format, w, h), 0);
        levels_.push_back(std::move(lv));
        if (w == 1 && h == 1) break;
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
}

bool GfxTexture::GetLevelDesc(uint32_t level, uint32_t* width, uint32_t* height) const {
    if (level >= levels_.size()) return false;
    if (width) *width = levels_[level].width;
    if (height) *height = levels_[level].height;
    return true;
}

int32_t GfxTexture::LockRect(uint32_t level, LockedRect* out) {
    if (level >= levels_.size() || !out) return kErrInvalidCall;
    out->pitch = static_cast<int32_t>(levels_[level].pitch);
    out->bits = levels_[level].bytes.data();
    return kOk;
}

int32_t GfxTexture::UnlockRect(uint32_t level) {
    if (level >= levels_.size()) return kErrInvalidCall;
    dirty = true;
    return kOk;
}

const std::vector<uint8_t>& GfxTexture::LevelData(uint32_t level) const {
    static const std::vector<uint8_t> kEmpty;
    return level < levels_.size() ? levels_[level].bytes : kEmpty;
}

uint32_t GfxTexture::LevelPitch(uint32_t level) const {
    return level < levels_.size() ? levels_[level].pitch : 0;
}

void GfxTexture::Release() {
    if (device_) device_->ForgetTexture(this);
    delete this;
}

bool GfxTexture::IsCompressed(PixelFormat f) {
    return f == PixelFormat::Dxt1 || f == PixelFormat::Dxt2 || f == PixelFormat::Dxt3 ||
           f == PixelFormat::Dxt4 || f == PixelFormat::Dxt5;
}

uint32_t GfxTexture::BytesPerPixel(PixelFormat f) {
    switch (f) {
        case PixelFormat::A8R8G8B8:
        case PixelFormat::X8R8G8B8:
            return 4;
        case PixelFormat::R8G8B8:
            return 3;
        case PixelFormat::R5G6B5:
        case PixelFormat::X1R5G5B5:
        case PixelFormat::A1R5G5B5:
        case PixelFormat::A4R4G4B4:
        case PixelFormat::X4R4G4B4:
            return 2;
        case PixelFormat::R3G3B2:
        case PixelFormat::A8:
            return 1;
        default:
            return 0;
    }
}

uint32_t GfxTexture::PitchFor(PixelFormat f, uint32_t width) {
    if (IsCompressed(f)) return ((width + 3) / 4) * (f == PixelFormat::Dxt1 ? 8u : 16u);
    return width * BytesPerPixel(f);
}

uint32_t GfxTexture::SizeFor(PixelFormat f, uint32_t width, uint32_t height) {
    if (IsCompressed(f)) return PitchFor(f, width) * ((height + 3) / 4);
    return PitchFor(f, width) * height;
}
