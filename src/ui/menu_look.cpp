#include "ui/menu_look.h"

#include <cstdint>

#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"

void DrawWholePicture(float x, float y, const TextureSlot& slot, float w, float h) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    ScreenVertex v[4];
    FillScreenVertex(v[0], x, y, 0.0f, 0.0f, 0.0f, 0xFFFFFFFF);
    FillScreenVertex(v[1], x + w, y, 0.0f, 1.0f, 0.0f, 0xFFFFFFFF);
    FillScreenVertex(v[2], x, y + h, 0.0f, 0.0f, 1.0f, 0xFFFFFFFF);
    FillScreenVertex(v[3], x + w, y + h, 0.0f, 1.0f, 1.0f, 0xFFFFFFFF);
    const ScreenVertex tris[6] = {v[0], v[1], v[2], v[2], v[1], v[3]};
    dev->SetRenderState(RenderState::AlphaBlendEnable, 0);
    dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    dev->SetRenderState(RenderState::ZEnable, 0);
    dev->SetTexture(0, slot.texture);
    dev->SetVertexShader(kFvfScreenVertex);
    dev->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, tris, sizeof(ScreenVertex));
}

void DrawMenuText(const char* sjis, int x, int y, uint32_t rgb) {
    DrawShadowText(sjis, x, y, int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255));
}

void DrawMenuBackground() {
    static constexpr uint32_t kBackground[4] = {0xFFC8C8C8, 0xFFA000A0, 0xFFA000A0, 0xFFC8C8C8};
    DrawGradientRect(0, 0, 640, 480, kBackground);
}

void DrawEntryBox(float x, float y, float w, float h, EntryBoxLook look) {
    static constexpr uint32_t kChosen[4] = {0xD2A000C8, 0xD20000C8, 0xD20000C8, 0xD2A000C8};
    static constexpr uint32_t kOther[4] = {0xC8C8C800, 0x3000C800, 0xC800C800, 0x30C8C800};
    static constexpr uint32_t kMarked[4] = {0xD20040C8, 0xD2000080, 0xD2000080, 0xD20040C8};
    DrawGradientRect(x, y, w, h,
                     look == EntryBoxLook::kChosen   ? kChosen
                     : look == EntryBoxLook::kMarked ? kMarked
                                                     : kOther);
}
