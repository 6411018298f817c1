#include "world/scene_marker.h"

#include "base/frame.h"
#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "math/math_scalar.h"
#include "world/character.h"

namespace {
constexpr uint32_t kMarkerColour = 0x800000DC;
constexpr float kMarkerHeight = 512.0f;
constexpr float kHalf = 48.0f;
constexpr float kLid = 96.0f;
}  // namespace

void DrawActorMarker(float& angleDegrees, int actor) {
    angleDegrees += float(g_FrameTime) / 4.0f;
    GfxDevice* d = g_pd3dDevice;
    if (!d || actor < 0 || actor >= kCharacterCount) return;
    const Vector3& p = g_Characters[actor].position;
    Matrix44 place;
    place.Translation(p.x, p.y + kMarkerHeight, p.z);

    d->SetTexture(0, nullptr);
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->SetVertexShader(kFvfWorldVertex);

    Matrix44 lid;
    lid.RotationAxis('Y', (angleDegrees + 45.0f) * kDegToRad);
    lid.Multiply(place);
    d->SetTransform(TransformType::World, lid);
    WorldVertex square[4];
    FillWorldVertex(square[0], -kHalf, kLid, kHalf, 0, 0, kMarkerColour);
    FillWorldVertex(square[1], kHalf, kLid, kHalf, 0, 0, kMarkerColour);
    FillWorldVertex(square[2], -kHalf, kLid, -kHalf, 0, 0, kMarkerColour);
    FillWorldVertex(square[3], kHalf, kLid, -kHalf, 0, 0, kMarkerColour);
    d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, square, sizeof(WorldVertex));

    Matrix44 body;
    body.RotationAxis('Y', angleDegrees * kDegToRad);
    body.Multiply(place);
    d->SetTransform(TransformType::World, body);
    const float base[4][2] = {{0, kHalf}, {-kHalf, 0}, {0, -kHalf}, {kHalf, 0}};
    WorldVertex sides[12];
    for (int i = 0; i < 4; ++i) {
        const float* a = base[i];
        const float* b = base[(i + 1) % 4];
        FillWorldVertex(sides[i * 3], 0, 0, 0, 0, 0, kMarkerColour);
        FillWorldVertex(sides[i * 3 + 1], a[0], kLid, a[1], 0, 0, kMarkerColour);
        FillWorldVertex(sides[i * 3 + 2], b[0], kLid, b[1], 0, 0, kMarkerColour);
    }
    d->DrawPrimitiveUP(PrimitiveType::TriangleList, 4, sides, sizeof(WorldVertex));
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
}
