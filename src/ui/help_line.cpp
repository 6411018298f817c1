#include "ui/help_line.h"

#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "ui/ui_textures.h"

void DrawHelpLine(const char* text, int x) {
    if (GfxDevice* dev = g_pd3dDevice) dev->SetRenderState(RenderState::Lighting, 0);
    const uint32_t band[4] = {0x800000A0, 0x800000A0, 0x800000A0, 0x800000A0};
    DrawGradientRect(0, 6, 640, 20, band);
    const uint32_t line[4] = {0xC000FF00, 0x4000FF00, 0xC000FF00, 0x4000FF00};
    DrawGradientRect(0, 5, 640, 1, line);
    DrawSprite(4, 1, g_UiTextures[1], 0, 23, 49, 9);
    DrawShadowText(text ? text : "", x, 7, 255, 255, 255);
}
