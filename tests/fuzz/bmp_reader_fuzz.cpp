// BMP files come from authors and modders: any bytes must be decoded or refused without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint32_t> argb;
    BmpInfo info;
    bool alpha = false;
    std::string why;
    if (DecodeBmp(data, size, &argb, &info, &alpha, &why) &&
        argb.size() != size_t(info.width) * info.height)
        std::abort();
    return 0;
}
