// DDS files come from authors and modders: any bytes must be read or refused without harm, and
// what is read must fit the texture the device makes for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/dds_reader.h"
#include "gfx/device.h"
#include "gfx/image_file.h"
#include "gfx/recording_backend.h"
#include "gfx/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DdsImage img;
    std::string why;
    if (ReadDds(data, size, &img, &why)) {
        for (const auto& lv : img.levels)
            if (lv.bytes.size() != GfxTexture::SizeFor(img.format, lv.width, lv.height))
                std::abort();
    }
    if (size < 4 || data[0] != 'D' || data[1] != 'D' || data[2] != 'S' || data[3] != ' ') return 0;
    static RecordingBackend backend;
    static GfxDevice device(&backend);
    GfxTexture* tex = nullptr;
    if (CreateTextureFromMemory(&device, data, size, &tex, "fuzz") == kOk) tex->Release();
    return 0;
}
