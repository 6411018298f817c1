// Game text comes from data files: any bytes, drawn with any rectangle and format, must lay out
// and clip without reading past the text or writing past the glyph atlas.
#include <string>

#include "fake_glyph_rasterizer.h"
#include "fuzz_common.h"
#include "gfx/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FakeGlyphRasterizer varied;
    // A small atlas, so that growing and emptying it happen often.
    static RZ_Font* font =
        (varied.varySizes = true, new RZ_Font(fuzz::Device(), &varied, 18, {16, 64}));
    if (size < 2) return 0;
    fuzz::Reader in{data, size};
    const uint8_t flags = in.Byte();
    TextRect rect{0, 0, 640, 480};
    if (flags & 1) {
        rect = TextRect{in.Int(), in.Int(), in.Int(), in.Int()};
        if (!(flags & 2)) {  // mostly on screen, sometimes anywhere
            rect.left %= 700, rect.top %= 500, rect.right %= 700, rect.bottom %= 500;
        }
    }
    const uint32_t format = ((flags & 4) ? DT_NOCLIP : 0) | ((flags & 8) ? DT_EXPANDTABS : 0);
    // The text exactly as long as the rest of the input, so that reading past it is caught.
    const char* text = reinterpret_cast<const char*>(data + in.at);
    const size_t length = size - in.at;
    if (flags & 16) {
        font->DrawText(text, int(length), &rect, format, 0xFFFFFFFF);
    } else {
        const std::string terminated(text, length);
        font->DrawText(terminated.c_str(), -1, &rect, format, 0xFFFFFFFF);
    }
    return 0;
}
