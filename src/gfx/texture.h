#pragma once
#include <cstdint>
#include <vector>

#include "gfx/device_types.h"

class GfxDevice;

struct LockedRect {
    int32_t pitch = 0;  // bytes between rows (between block rows for S3TC formats)
    void* bits = nullptr;
};

// One texture with its mip chain kept in memory; the backend uploads a level again after
// it was unlocked. Created by GfxDevice::CreateTexture, destroyed by Release().
class GfxTexture {
public:
    GfxTexture(GfxDevice* device, uint32_t width, uint32_t height, uint32_t levels,
               PixelFormat format, Pool pool);
    GfxTexture(const GfxTexture&) = delete;
    GfxTexture& operator=(const GfxTexture&) = delete;

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    Pool GetPool() const { return pool_; }
    uint32_t GetLevelCount() const { return static_cast<uint32_t>(levels_.size()); }
    // Size of a level in pixels; false past the chain.
    bool GetLevelDesc(uint32_t level, uint32_t* width, uint32_t* height) const;
    int32_t LockRect(uint32_t level, LockedRect* out);
    int32_t UnlockRect(uint32_t level);
    // The bytes of one level and its pitch; empty past the chain.
    const std::vector<uint8_t>& LevelData(uint32_t level) const;
    uint32_t LevelPitch(uint32_t level) const;
    // Frees the texture and whatever the backend holds for it.
    void Release();
    // The device went away first; Release() then only frees memory.
    void DetachDevice() { device_ = nullptr; }

    // Backend bookkeeping.
    uint32_t backendHandle = 0;
    bool dirty = true;

    static bool IsCompressed(PixelFormat format);
    static uint32_t BytesPerPixel(PixelFormat format);  // 0 for compressed or unknown
    // Row pitch and total size of a level of the given size.
    static uint32_t PitchFor(PixelFormat format, uint32_t width);
    static uint32_t SizeFor(PixelFormat format, uint32_t width, uint32_t height);

private:
    ~GfxTexture() = default;
    struct Level {
        uint32_t width, height, pitch;
        std::vector<uint8_t> bytes;
    };
    GfxDevice* device_;
    uint32_t width_, height_;
    PixelFormat format_;
    Pool pool_;
    std::vector<Level> levels_;
};
