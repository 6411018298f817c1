#include "world/scene_objects.h"

#include <cstddef>

#include "base/message_box.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "gfx/x_mesh_holder.h"
#include "math/math_scalar.h"
#include "world/character.h"
#include "world/field_tables.h"
#include "world/scene_characters.h"
#include "world/scene_sky.h"
#include "world/scene_weapon.h"

namespace {

constexpr int kRingSegments = 32;
constexpr int kCircleCrystals = 7;
constexpr float kCrystalHalfWidth = 50.0f;
constexpr float kCrystalHalfHeight = 100.0f;
constexpr uint32_t kFlashFarColour = 0x80C8C800;
constexpr uint32_t kFlashNearColour = 0xC0C88000;

// The unknown kind last reported for each field object (0: none); one more entry for objects
// that are not in the table.
int32_t g_reportedKind[kFieldObjectCount + 1] = {};

void SetWorld(GfxDevice* d, const Matrix44& m) {
    d->SetTransform(TransformType::World, m);
}

// scale, then rotation (Euler), then position.
Matrix44 PlacedMatrix(const FieldObject& o) {
    Matrix44 m, r, t;
    m.Scaling(o.scale);
    r.RotationEuler(o.rotation);
    m.Multiply(r);
    t.Translation(o.position);
    m.Multiply(t);
    return m;
}

void SetBlending(GfxDevice* d) {
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
}

void DrawMeshObject(GfxDevice* d, const FieldObject& o) {
    if (!o.mesh || !o.mesh->mesh) return;
    SetWorld(d, PlacedMatrix(o));
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->SetRenderState(RenderState::AlphaBlendEnable, (o.colour >> 24) != 0 ? 1u : 0u);
    o.mesh->draw();
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
}

void DrawRing(GfxDevice* d, const FieldObject& o) {
    Matrix44 m, t;
    m.RotationEuler(o.rotation);
    t.Translation(o.position);
    m.Multiply(t);
    SetWorld(d, m);
    d->SetTexture(0, nullptr);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    SetBlending(d);
    d->SetRenderState(RenderState::CullMode, Cull::None);
    d->SetVertexShader(kFvfWorldVertex);
    const float r = o.scale.x, outer = o.scale.x + o.scale.z;
    const uint32_t inner = (o.colour & 0x00FFFFFF) | ((o.colour >> 26) << 24);  // alpha / 4
    for (int k = 0; k < kRingSegments; ++k) {
        const float a = float(k) * (360.0f / kRingSegments) * kDegToRad;
        const float b = float(k + 1) * (360.0f / kRingSegments) * kDegToRad;
        const float sa = TaylorSin(a), ca = TaylorCos(a), sb = TaylorSin(b), cb = TaylorCos(b);
        WorldVertex v[4];
        FillWorldVertex(v[0], sa * r, 0, ca * r, 0, 0, inner);
        FillWorldVertex(v[1], sa * outer, 0, ca * outer, 0, 0, o.colour);
        FillWorldVertex(v[2], sb * r, 0, cb * r, 0, 0, inner);
        FillWorldVertex(v[3], sb * outer, 0, cb * outer, 0, 0, o.colour);
        d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, v, sizeof(WorldVertex));
    }
}

void SetCrystalStates(GfxDevice* d) {
    d->SetTexture(0, nullptr);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    SetBlending(d);
}

// The double pyramid under `world`: the lower half, then the same mirrored in y.
void DrawCrystalShape(GfxDevice* d, const Matrix44& world, uint32_t colour) {
    const uint32_t dim = (colour & 0xFF000000) | ((colour >> 1) & 0x007F7F7F);
    const float w = kCrystalHalfWidth;
    const Vector3 equator[4] = {{0, 0, w}, {-w, 0, 0}, {0, 0, -w}, {w, 0, 0}};
    WorldVertex v[12];
    for (int i = 0; i < 4; ++i) {
        const Vector3& p = equator[i];
        const Vector3& q = equator[(i + 1) % 4];
        FillWorldVertex(v[i * 3], 0, -kCrystalHalfHeight, 0, 0, 0, dim);
        FillWorldVertex(v[i * 3 + 1], p.x, p.y, p.z, 0, 0, colour);
        FillWorldVertex(v[i * 3 + 2], q.x, q.y, q.z, 0, 0, dim);
    }
    d->SetVertexShader(kFvfWorldVertex);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    SetWorld(d, world);
    d->DrawPrimitiveUP(PrimitiveType::TriangleList, 4, v, sizeof(WorldVertex));

    Matrix44 mirrored;
    mirrored.Scaling(1.0f, -1.0f, 1.0f, 1.0f);
    mirrored.Multiply(world);
    d->SetRenderState(RenderState::CullMode, Cull::Clockwise);
    SetWorld(d, mirrored);
    d->DrawPrimitiveUP(PrimitiveType::TriangleList, 4, v, sizeof(WorldVertex));
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
}

void DrawCrystal(GfxDevice* d, const FieldObject& o) {
    SetCrystalStates(d);
    DrawCrystalShape(d, PlacedMatrix(o), o.colour);
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
}

void DrawCrystalCircle(GfxDevice* d, const FieldObject& o) {
    SetCrystalStates(d);
    for (int i = 0; i < kCircleCrystals; ++i) {
        const float angle = (float(i) / float(kCircleCrystals) * 360.0f + o.scale.x) * kDegToRad;
        Matrix44 m, t;
        m.Scaling(1.0f, o.scale.y, 1.0f, 1.0f);
        t.Translation(o.position.x + TaylorSin(angle) * o.scale.z, o.position.y,
                      o.position.z + TaylorCos(angle) * o.scale.z);
        m.Multiply(t);
        DrawCrystalShape(d, m, o.colour);
    }
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
}

void DrawWeaponFlash(GfxDevice* d, const FieldObject& o) {
    // The character number comes from the script as a float; anything else is its mistake.
    const float n = o.position.x;
    if (!(n > -1.0f && n < float(kCharacterCount))) return;
    const Character& c = g_Characters[static_cast<int>(n)];

    Matrix44 tip, frame, place;
    tip.Scaling(o.scale);
    place.Translation(0.0f, c.bladeLength, 32.0f);
    tip.Multiply(place);
    WeaponFrame(c, CurrentWeaponPose(c), frame);
    tip.Multiply(frame);

    d->SetTexture(0, nullptr);
    d->SetRenderState(RenderState::Lighting, 0u);
    SetBlending(d);
    d->SetRenderState(RenderState::CullMode, Cull::None);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    d->SetVertexShader(kFvfWorldVertex);
    WorldVertex v[4];
    FillWorldVertex(v[0], -16, 48, 128, 0, 0, kFlashFarColour);
    FillWorldVertex(v[1], 16, 48, 128, 1, 0, kFlashFarColour);
    FillWorldVertex(v[2], -16, 0, 16, 0, 1, kFlashNearColour);
    FillWorldVertex(v[3], 16, 0, 16, 1, 1, kFlashNearColour);
    for (int k = 0; k < 4; ++k) {
        Matrix44 m;
        m.RotationAxis('X', float(k) * 90.0f * kDegToRad);
        m.Multiply(tip);
        SetWorld(d, m);
        d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, v, sizeof(WorldVertex));
    }
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
}

void ReportUnknownKind(const FieldObject& o) {
    const ptrdiff_t i = &o - g_FieldObjects;
    int32_t& reported = g_reportedKind[(i >= 0 && i < kFieldObjectCount) ? i : kFieldObjectCount];
    if (reported == o.kind) return;
    reported = o.kind;
    RZ_MsgBox(SJIS("ID error 書くもんなし！"), "field object " + std::to_string(i) + " has kind " +
                                                   std::to_string(o.kind) +
                                                   ", which nothing draws");
}

}  // namespace

void DrawFieldObject(const FieldObject& o) {
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    switch (o.kind) {
        case kObjectHidden:
            return;
        case kObjectMesh:
            DrawMeshObject(d, o);
            return;
        case kObjectRing:
            DrawRing(d, o);
            return;
        case kObjectCrystal:
            DrawCrystal(d, o);
            return;
        case kObjectCrystalCircle:
            DrawCrystalCircle(d, o);
            return;
        case kObjectWeaponFlash:
            DrawWeaponFlash(d, o);
            return;
        default:
            ReportUnknownKind(o);
            return;
    }
}

void ResetFieldObjectReports() {
    for (int32_t& k : g_reportedKind) k = 0;
}

void DrawBattleScene() {
    DrawSky();
    DrawCharacters();
    for (const FieldObject& o : g_FieldObjects) DrawFieldObject(o);
}
