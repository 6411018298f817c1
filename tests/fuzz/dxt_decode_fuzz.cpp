// S3TC blocks come from image files: any bytes, any claimed size, must decode or be refused
// without reading past the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gl_texture_upload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    static const PixelFormat kFormats[] = {PixelFormat::Dxt1, PixelFormat::Dxt2,
                                           PixelFormat::Dxt3, PixelFormat::Dxt4,
                                           PixelFormat::Dxt5, PixelFormat::A8R8G8B8};
    PixelFormat f = kFormats[data[0] % 6];
    uint32_t w = data[1] % 67 + 1, h = data[2] % 67 + 1;
    // The block data gets its own allocation so that a read past it is caught.
    std::vector<uint8_t> blocks(data + 3, data + size);
    std::vector<uint32_t> out;
    if (DecodeDxt(f, blocks.data(), blocks.size(), w, h, out) && out.size() != size_t(w) * h)
        __builtin_trap();
    return 0;
}
