#include "gfx/text.h"

#include <cstdio>

#include "base/host.h"
#include "gfx/d3d.h"

RZ_Font* g_pFont = nullptr;
TextRect g_TextRect = {0, 0, 640, 480};

namespace {

IGlyphRasterizer* g_GlyphRasterizer = nullptr;
uint32_t g_FpsPreviousTime = 0;

constexpr uint32_t kShadowColour = 0xFF0000A0;
constexpr uint32_t kOutlineColour = 0xFF000000;
constexpr uint32_t kFpsColour = 0xFF00FFFF;

uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (uint32_t(r) & 0xFF) << 16 | (uint32_t(g) & 0xFF) << 8 |
           (uint32_t(b) & 0xFF);
}

void DrawAt(const char* text, int x, int y, uint32_t format, uint32_t colour) {
    g_TextRect.left = x;
    g_TextRect.top = y;
    if (g_pFont) g_pFont->DrawText(text, -1, &g_TextRect, format, colour);
}

}  // namespace

void SetGlyphRasterizer(IGlyphRasterizer* rasterizer) {
    g_GlyphRasterizer = rasterizer;
}

IGlyphRasterizer* GetGlyphRasterizer() {
    return g_GlyphRasterizer;
}

void CreateGameFont(int height) {
    ReleaseGameFont();
    if (g_pd3dDevice) g_pFont = new RZ_Font(g_pd3dDevice, g_GlyphRasterizer, height);
}

void ReleaseGameFont() {
    if (g_pFont) {
        g_pFont->Release();
        g_pFont = nullptr;
    }
}

void DrawShadowText(const char* text, int x, int y, int r, int g, int b) {
    DrawAt(text, x + 1, y + 1, DT_NOCLIP, kShadowColour);
    DrawAt(text, x, y, DT_NOCLIP, Rgb(r, g, b));
}

void DrawOutlineText(const char* text, int x, int y, int r, int g, int b) {
    DrawAt(text, x - 1, y, 0, kOutlineColour);
    DrawAt(text, x, y - 1, 0, kOutlineColour);
    DrawAt(text, x + 1, y, 0, kOutlineColour);
    DrawAt(text, x, y + 1, 0, kOutlineColour);
    DrawAt(text, x, y, 0, Rgb(r, g, b));
}

void DrawPlainText(const char* text, int x, int y, uint32_t colour) {
    TextRect rect{x, y, 640, 480};
    if (g_pFont) g_pFont->DrawText(text, -1, &rect, DT_EXPANDTABS, colour);
}

void DrawFps(int x, int y) {
    uint32_t now = g_Host.clock ? g_Host.clock->TimeGetTime() : 0;
    uint32_t elapsed = now - g_FpsPreviousTime;
    // Two draws within one millisecond: the timer cannot tell a shorter time, so the figure is
    // the highest rate it can measure (1000) rather than an infinity.
    if (elapsed == 0) elapsed = 1;
    char line[64];
    std::snprintf(line, sizeof line, "FPS : %3.3f", 1000.0 / double(elapsed));
    DrawPlainText(line, x, y, kFpsColour);
    g_FpsPreviousTime = now;
}
