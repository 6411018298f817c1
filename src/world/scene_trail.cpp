#include "world/scene_trail.h"

#include <algorithm>

#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "world/character.h"
#include "world/scene_weapon.h"

WeaponTrail g_WeaponTrail;
int32_t g_TrailSampling = 0;

namespace {

constexpr float kBaseAlpha = 32.0f;  // 0x20
constexpr float kTipAlpha = 160.0f;  // 0xA0
constexpr float kStripFade = 0.95f;  // after every fifth strip
constexpr float kFramefade = 0.9f;   // after every draw
constexpr float kEmptyBelow = 0.05f;

uint32_t TrailColour(uint32_t rgb, float alpha) {
    const int a = std::clamp(static_cast<int>(alpha), 0, 255);
    return (rgb & 0x00FFFFFF) | (uint32_t(a) << 24);
}

}  // namespace

void ResetWeaponTrail() {
    g_WeaponTrail = WeaponTrail{};
    g_TrailSampling = 0;
}

void StartWeaponTrail(uint32_t colour, int character) {
    WeaponTrail& t = g_WeaponTrail;
    t.count = 0;
    t.colour = colour;
    t.intensity = 1.0f;
    t.owner = (character >= 0 && character < kCharacterCount) ? &g_Characters[character] : nullptr;
    if (!t.owner) return;
    const Character& c = *t.owner;
    const Vector3 tip = WeaponPoint(c, CurrentWeaponPose(c), Vector3{0.0f, c.bladeLength, 0.0f});
    std::fill(t.points, t.points + kTrailStartCopies, tip);
}

void SampleWeaponTrail() {
    WeaponTrail& t = g_WeaponTrail;
    if (g_TrailSampling == 0 || !t.owner || t.count + 1 >= kTrailPointCount) return;
    const Character& c = *t.owner;
    const WeaponPose now = CurrentWeaponPose(c);
    if (t.count == 0) {
        t.lastRotation = now.rotation;
        t.lastPosition = now.position;
    }
    for (int s = 1; s <= kTrailStepsPerSample; ++s) {
        // A sample near the end of the table keeps only the pairs that still fit.
        if (t.count + 2 > kTrailPointCount) break;
        const float f = float(s) * 0.1f;
        WeaponPose between;
        Quaternion::Slerp(between.rotation, t.lastRotation, now.rotation, f);
        between.position = t.lastPosition;
        between.position.LerpTo(f, now.position);
        t.points[t.count++] = WeaponPoint(c, between, Vector3{0.0f, kTrailBladeBase, 0.0f});
        t.points[t.count++] = WeaponPoint(c, between, Vector3{0.0f, c.bladeLength, 0.0f});
    }
    t.lastRotation = now.rotation;
    t.lastPosition = now.position;
}

void DrawWeaponTrail() {
    WeaponTrail& t = g_WeaponTrail;
    GfxDevice* d = g_pd3dDevice;
    if (t.count == 0 || !d) return;
    const int count = std::clamp(t.count, 0, kTrailPointCount);

    Matrix44 identity;
    identity.Identity();
    d->SetTransform(TransformType::World, identity);
    d->SetTexture(0, nullptr);
    d->SetRenderState(RenderState::ZEnable, 1u);
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    d->SetRenderState(RenderState::FillMode, Fill::Solid);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    d->SetRenderState(RenderState::CullMode, Cull::None);
    d->SetVertexShader(kFvfWorldVertex);

    float f = t.intensity;
    for (int j = count / 2 - 2; j >= 0; --j) {
        const uint32_t base = TrailColour(t.colour, kBaseAlpha * f);
        const uint32_t tip = TrailColour(t.colour, kTipAlpha * f);
        WorldVertex v[4];
        for (int k = 0; k < 4; ++k) {
            const Vector3& p = t.points[2 * j + k];
            FillWorldVertex(v[k], p.x, p.y, p.z, 0, 0, (k % 2) ? tip : base);
        }
        d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, v, sizeof(WorldVertex));
        if (j % 5 == 0) f *= kStripFade;
    }
    t.intensity *= kFramefade;
    if (t.intensity < kEmptyBelow) t.count = 0;
}
