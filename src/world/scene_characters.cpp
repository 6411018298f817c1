#include "world/scene_characters.h"

#include "base/frame.h"
#include "gfx/d3d.h"
#include "world/character.h"

namespace {

void SetCharacterStates(GfxDevice* d) {
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->SetRenderState(RenderState::ZEnable, 1u);
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Wrap);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Wrap);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetRenderState(RenderState::Lighting, 1u);
    d->SetRenderState(RenderState::DiffuseMaterialSource, MaterialSource::Material);
    d->SetRenderState(RenderState::AmbientMaterialSource, MaterialSource::Material);
    d->SetRenderState(RenderState::FillMode, Fill::Solid);
    d->SetRenderState(RenderState::ColorVertex, 0u);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
}

}  // namespace

void DrawCharacters() {
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    SetCharacterStates(d);
    for (Character& c : g_Characters) {
        if (!c.active) continue;
        AnimateCharacter(c, g_FrameTime);
        Matrix44 world;
        c.WorldMatrix(world);
        d->SetTransform(TransformType::World, world);
        c.model.Draw(d, 1.0f);
        // The weapon hangs on its bone as this frame's Draw posed it.
        if (c.weaponMesh && c.weaponBone) {
            Matrix44 weapon, place;
            weapon.RotationQuaternion(c.weaponBone->worldRotation);
            place.Translation(c.weaponBone->worldPosition);
            weapon.Multiply(place);
            weapon.Multiply(world);
            d->SetTransform(TransformType::World, weapon);
            c.weaponMesh->draw();
        }
    }
}
