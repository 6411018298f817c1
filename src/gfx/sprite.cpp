#include "gfx/sprite.h"

#include <cmath>

#include "gfx/d3d.h"

float g_SpriteAngle = 0.0f;
float g_SpriteCenterX = 0.0f, g_SpriteCenterY = 0.0f;
float g_SpriteScaleX = 1.0f, g_SpriteScaleY = 1.0f;
uint32_t g_SpriteColour = 0xFFFFFFFF;
int32_t g_SpriteBlend = 0;

namespace {

// Rounded in float, one step off the math library's kDegToRad: the sprites' pictures keep it.
constexpr float kSpriteDegToRad = 3.14159f / 180.0f;

// The states every flat draw shares: blended, no depth test, screen vertices.
void SetFlatStates(GfxDevice* dev, GfxTexture* texture) {
    dev->SetRenderState(RenderState::AlphaBlendEnable, 1);
    dev->SetTexture(0, texture);
    dev->SetVertexShader(kFvfScreenVertex);
    dev->SetRenderState(RenderState::ZEnable, 0);
}

// Two triangles (P0, P1, P2), (P0, P2, P3) with a colour per corner.
void DrawRectCorners(GfxDevice* dev, float x, float y, float w, float h, const uint32_t c[4]) {
    ScreenVertex v[6];
    const float px[4] = {x, x + w, x + w, x};
    const float py[4] = {y, y, y + h, y + h};
    const int order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        int k = order[i];
        FillScreenVertex(v[i], px[k], py[k], 0.0f, 0.0f, 0.0f, c[k]);
    }
    dev->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, v, sizeof(ScreenVertex));
}

}  // namespace

void SetSpriteBlend(int32_t mode, uint32_t colour) {
    g_SpriteBlend = mode;
    g_SpriteColour = colour;
}

void SetSpriteRotation(float angleDegrees, float centerX, float centerY) {
    g_SpriteAngle = angleDegrees * kSpriteDegToRad;
    g_SpriteCenterX = centerX;
    g_SpriteCenterY = centerY;
}

void SetSpriteScale(float sx, float sy) {
    g_SpriteScaleX = sx;
    g_SpriteScaleY = sy;
}

void ResetSpriteParameters() {
    g_SpriteAngle = 0.0f;
    g_SpriteCenterX = g_SpriteCenterY = 0.0f;
    g_SpriteScaleX = g_SpriteScaleY = 1.0f;
    g_SpriteColour = 0xFFFFFFFF;
    g_SpriteBlend = 0;
}

void DrawSprite(float x, float y, const TextureSlot& slot, int32_t srcX, int32_t srcY, int32_t w,
                int32_t h) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) {
        ResetSpriteParameters();
        return;
    }
    // An empty slot has no size; dividing by 1 keeps the coordinates finite.
    float tw = slot.width ? static_cast<float>(slot.width) : 1.0f;
    float th = slot.height ? static_cast<float>(slot.height) : 1.0f;
    float ua = srcX / tw, va = srcY / th, uw = w / tw, vh = h / th;

    float px[4] = {x, x + w, x + w, x};
    float py[4] = {y, y, y + h, y + h};
    float c = std::cos(g_SpriteAngle), s = std::sin(g_SpriteAngle);
    float ox = x + g_SpriteCenterX, oy = y + g_SpriteCenterY;
    for (int i = 0; i < 4; ++i) {
        float dx = (px[i] - ox) * g_SpriteScaleX;
        float dy = (py[i] - oy) * g_SpriteScaleY;
        px[i] = ox + (c * dx - s * dy);
        py[i] = oy + (s * dx + c * dy);
    }

    dev->SetRenderState(RenderState::AlphaBlendEnable, 1);
    if (g_SpriteBlend == 0) {
        dev->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
        dev->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    } else if (g_SpriteBlend == 1) {
        dev->SetRenderState(RenderState::SrcBlend, Blend::One);
        dev->SetRenderState(RenderState::DestBlend, Blend::One);
    }
    dev->SetTexture(0, slot.texture);
    dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    dev->SetRenderState(RenderState::ZEnable, 0);
    dev->SetVertexShader(kFvfScreenVertex);

    const float us[4] = {ua, ua + uw, ua + uw, ua};
    const float vs[4] = {va, va, va + vh, va + vh};
    const int order[6] = {0, 1, 2, 0, 2, 3};
    ScreenVertex v[6];
    for (int i = 0; i < 6; ++i) {
        int k = order[i];
        FillScreenVertex(v[i], px[k], py[k], 0.0f, us[k], vs[k], g_SpriteColour);
    }
    dev->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, v, sizeof(ScreenVertex));
    ResetSpriteParameters();
}

void DrawScreenRect(float x, float y, float w, float h, uint32_t colour) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    dev->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    dev->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    SetFlatStates(dev, nullptr);
    const uint32_t corners[4] = {colour, colour, colour, colour};
    DrawRectCorners(dev, x, y, w, h, corners);
    dev->SetRenderState(RenderState::ZEnable, 1);
}

void DrawWindowBox(float x, float y, float w, float h) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    dev->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    dev->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    SetFlatStates(dev, nullptr);
    // Top-left and bottom-right translucent blue, the other two a darker, denser blue.
    const uint32_t corners[4] = {0xA00000A0, 0xC0000040, 0xA00000A0, 0xC0000040};
    DrawRectCorners(dev, x, y, w, h, corners);
    dev->SetRenderState(RenderState::ZEnable, 1);
}

void DrawGradientRect(float x, float y, float w, float h, const uint32_t colours[4]) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    dev->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    dev->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    SetFlatStates(dev, nullptr);
    // Corners go round P0..P3 (top-left, top-right, bottom-right, bottom-left).
    const uint32_t corners[4] = {colours[0], colours[1], colours[3], colours[2]};
    DrawRectCorners(dev, x, y, w, h, corners);
    dev->SetRenderState(RenderState::ZEnable, 1);
}

void FillScreenVertex(ScreenVertex& v, float x, float y, float z, float u, float tv,
                      uint32_t colour) {
    v = {x, y, z, 1.0f, colour, 0, u, tv};
}

void FillWorldVertex(WorldVertex& v, float x, float y, float z, float u, float tv,
                     uint32_t colour) {
    v = {x, y, z, colour, 0, u, tv};
}
