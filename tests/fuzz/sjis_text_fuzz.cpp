// Game text comes from data files: any bytes, drawn with any rectangle and format, must lay out
// and clip without reading past the text or writing past the glyph atlas.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "../unit/gfx/fake_glyph_rasterizer.h"
#include "gfx/device.h"
#include "gfx/font.h"
#include "gfx/recording_backend.h"

namespace {

int32_t Take32(const uint8_t*& data, size_t& size) {
    uint32_t v = 0;
    size_t n = size < 4 ? size : 4;
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return int32_t(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RecordingBackend rec;
    static GfxDevice device(&rec);
    static FakeGlyphRasterizer varied;
    static RZ_Font* font = [] {
        rec.keep = false;
        varied.varySizes = true;
        // A small atlas, so that growing and emptying it happen often.
        return new RZ_Font(&device, &varied, 18, {16, 64});
    }();
    if (size < 2) return 0;
    uint8_t flags = data[0];
    data += 1;
    size -= 1;
    TextRect rect{0, 0, 640, 480};
    if (flags & 1) {
        // Keep the corners mostly on screen, sometimes anywhere.
        rect.left = Take32(data, size);
        rect.top = Take32(data, size);
        rect.right = Take32(data, size);
        rect.bottom = Take32(data, size);
        if (!(flags & 2)) {
            rect.left %= 700, rect.top %= 500, rect.right %= 700, rect.bottom %= 500;
        }
    }
    uint32_t format = ((flags & 4) ? DT_NOCLIP : 0) | ((flags & 8) ? DT_EXPANDTABS : 0);
    // The text exactly as long as the input, so that reading past it is caught.
    const char* text = reinterpret_cast<const char*>(data);
    if (flags & 16) {
        font->DrawText(text, int(size), &rect, format, 0xFFFFFFFF);
    } else {
        std::string terminated(text, size);
        font->DrawText(terminated.c_str(), -1, &rect, format, 0xFFFFFFFF);
    }
    return 0;
}
