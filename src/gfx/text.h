#pragma once
#include <cstdint>

#include "gfx/font.h"

class IGlyphRasterizer;

// The one text font, made on the device at start-up; null when there is none.
extern RZ_Font* g_pFont;
// The layout rectangle of the styled text draws: they move left and top, right and bottom stay at
// the screen's edges.
extern TextRect g_TextRect;

// Where fonts get their glyphs; the entry point wires the platform's rasteriser. With none set,
// fonts draw nothing.
void SetGlyphRasterizer(IGlyphRasterizer* rasterizer);
IGlyphRasterizer* GetGlyphRasterizer();

// Releases the current font, then makes one of the given cell height on g_pd3dDevice.
void CreateGameFont(int height);
void ReleaseGameFont();

// Text with a dark blue drop shadow one pixel down and right; never clipped. Only the low 8 bits
// of r, g and b count.
void DrawShadowText(const char* text, int x, int y, int r, int g, int b);
// Text with a one-pixel black outline, clipped to g_TextRect.
void DrawOutlineText(const char* text, int x, int y, int r, int g, int b);
// Text in the rectangle (x, y, 640, 480) with tabs expanded; g_TextRect is left alone.
void DrawPlainText(const char* text, int x, int y, uint32_t colour);
// The frame-rate overlay: "FPS : %3.3f" in cyan, measured between two calls.
void DrawFps(int x, int y);
