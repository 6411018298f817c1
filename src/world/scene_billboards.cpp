#include "world/scene_billboards.h"

#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "gfx/texture_slots.h"
#include "world/field_tables.h"
#include "world/scene_view.h"

void DrawBillboards() {
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    const SceneView view = CurrentSceneView();
    d->SetVertexShader(kFvfWorldVertex);
    d->SetRenderState(RenderState::Lighting, 0u);
    d->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    for (const Billboard& b : g_Billboards) {
        if (!b.image) continue;
        d->SetRenderState(RenderState::ZFunc, static_cast<uint32_t>(b.depthFunc));
        d->SetTexture(0, b.image->texture);
        Matrix44 world;
        world.FaceTowards(view.eye, view.target, b.position);
        d->SetTransform(TransformType::World, world);

        const float hw = float(b.image->width) * b.widthScale / 2.0f;
        const float h = b.heightFactor * b.heightScale;
        const uint32_t colour = (uint32_t(b.alpha) & 255u) << 24 | (uint32_t(b.red) & 255u) << 16 |
                                (uint32_t(b.green) & 255u) << 8 | (uint32_t(b.blue) & 255u);
        WorldVertex v[4];
        FillWorldVertex(v[0], -hw, h, 0, 0, 0, colour);
        FillWorldVertex(v[1], hw, h, 0, 1, 0, colour);
        FillWorldVertex(v[2], -hw, 0, 0, 0, 1, colour);
        FillWorldVertex(v[3], hw, 0, 0, 1, 1, colour);
        d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, v, sizeof(WorldVertex));
    }
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d->SetRenderState(RenderState::ZFunc, Cmp::LessEqual);
}
