// BMP files come from authors and modders: any bytes must be decoded or refused without harm,
// by the picture reader and by the library reader of model materials alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/bmp_reader.h"
#include "gfx/rz_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint32_t> argb;
    BmpInfo info;
    bool alpha = false;
    std::string why;
    if (DecodeBmp(data, size, &argb, &info, &alpha, &why) &&
        argb.size() != size_t(info.width) * info.height)
        std::abort();

    RZ_Image img;
    if (RZ_ReadBmpFromMemory(data, size, &img)) {
        uint8_t target = size > 0 ? uint8_t(data[size - 1] % 5) : 0;  // 0 to 4
        RZ_ConvertImage(&img, target);
        RZ_ApplyAlpha(&img, size % 3, 7.5f, 0x123456);
        size_t need = size_t(img.stride) * img.height * RZ_Image::BytesPerPixel(img.type);
        if (img.pixels.size() < need) std::abort();
    }
    return 0;
}
