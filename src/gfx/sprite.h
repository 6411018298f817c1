#pragma once
#include <cstdint>

#include "gfx/texture_slots.h"

// Pre-transformed screen vertex (vertex format 0x1C4).
struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
static_assert(sizeof(ScreenVertex) == 32);

// World vertex (vertex format 0x1C2), filled by the scene drawing for billboards and ground.
struct WorldVertex {
    float x, y, z;
    uint32_t diffuse, specular;
    float u, v;
};
static_assert(sizeof(WorldVertex) == 28);

// One-shot parameters of the next DrawSprite, reset after it.
extern float g_SpriteAngle;  // radians, about the centre point
extern float g_SpriteCenterX, g_SpriteCenterY;
extern float g_SpriteScaleX, g_SpriteScaleY;
extern uint32_t g_SpriteColour;
extern int32_t g_SpriteBlend;  // 0 alpha blending, 1 additive, other: factors left as they are

void SetSpriteBlend(int32_t mode, uint32_t colour);
void SetSpriteRotation(float angleDegrees, float centerX, float centerY);
void SetSpriteScale(float sx, float sy);
void ResetSpriteParameters();

// A w x h piece of the slot's image from (srcX, srcY), drawn with its top-left at (x, y).
void DrawSprite(float x, float y, const TextureSlot& slot, int32_t srcX, int32_t srcY, int32_t w,
                int32_t h);
// A filled rectangle blended over the scene (fades and overlays).
void DrawScreenRect(float x, float y, float w, float h, uint32_t colour);
// The blue gradient box behind a talk window.
void DrawWindowBox(float x, float y, float w, float h);
// A rectangle blended like DrawScreenRect with its own colour at each corner, given top-left,
// top-right, bottom-left, bottom-right (menus, the status screen, the battle panels).
void DrawGradientRect(float x, float y, float w, float h, const uint32_t colours[4]);

void FillScreenVertex(ScreenVertex& v, float x, float y, float z, float u, float tv,
                      uint32_t colour);
void FillWorldVertex(WorldVertex& v, float x, float y, float z, float u, float tv, uint32_t colour);
