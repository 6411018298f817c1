#include "world/scene_sky.h"

#include "gfx/d3d.h"
#include "gfx/texture_slots.h"
#include "world/scene_view.h"

namespace {
constexpr float S = kSkyHalfSize;
constexpr uint32_t W = 0xFFFFFFFF;
constexpr uint16_t kSkyIndices[6] = {0, 1, 2, 2, 3, 0};
}  // namespace

const SkyVertex kSkyFaces[kSkyFaceCount][4] = {
    // top (y = +S)
    {{S, S, S, W, 0, 1}, {-S, S, S, W, 1, 1}, {-S, S, -S, W, 1, 0}, {S, S, -S, W, 0, 0}},
    // +z
    {{-S, S, S, W, 1, 0}, {S, S, S, W, 0, 0}, {S, -S, S, W, 0, 1}, {-S, -S, S, W, 1, 1}},
    // -x
    {{-S, S, -S, W, 1, 0}, {-S, S, S, W, 0, 0}, {-S, -S, S, W, 0, 1}, {-S, -S, -S, W, 1, 1}},
    // -z
    {{S, S, -S, W, 1, 0}, {-S, S, -S, W, 0, 0}, {-S, -S, -S, W, 0, 1}, {S, -S, -S, W, 1, 1}},
    // +x
    {{S, S, S, W, 1, 0}, {S, S, -S, W, 0, 0}, {S, -S, -S, W, 0, 1}, {S, -S, S, W, 1, 1}},
};

void DrawSky() {
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    Matrix44 world;
    world.Translation(CurrentSceneView().eye);
    d->SetTransform(TransformType::World, world);
    d->SetRenderState(RenderState::ZEnable, 0u);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->SetRenderState(RenderState::ShadeMode, Shade::Flat);
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d->SetVertexShader(kFvfSkyVertex);
    for (int f = 0; f < kSkyFaceCount; ++f) {
        d->SetTexture(0, g_TextureSlots[kSkyFirstSlot + f].texture);
        d->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, kSkyIndices, kSkyFaces[f],
                                  sizeof(SkyVertex));
    }
    d->SetRenderState(RenderState::ZEnable, 1u);
}
