#include "world/scene_ground.h"

#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "gfx/x_mesh_holder.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/scene_sky.h"

namespace {

constexpr uint32_t kGroundColour = 0xFFFFFFFF;
constexpr int kGroundCells = kFieldGridSize - 1;  // the last row and column are corners only

void DrawGroundQuad(GfxDevice* d, const QFldInfo& field, int x, int row, int32_t lighting) {
    d->SetRenderState(RenderState::Lighting, static_cast<uint32_t>(lighting));
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d->SetRenderState(RenderState::FillMode, Fill::Solid);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Wrap);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Wrap);
    // Image numbers past the field's 32 ground images find no texture and draw untextured.
    d->SetTexture(0, field.GroundTextureAt(x, row));

    Matrix44 world;
    world.Translation(float(x) * kFieldCellSize, 0.0f, -float(row) * kFieldCellSize);
    d->SetTransform(TransformType::World, world);

    const float s = kFieldCellSize;
    // The image's u runs along -z and v along x.
    WorldVertex a, b, c, e;
    FillWorldVertex(a, 0, field.height[x][row], 0, 0, 0, kGroundColour);
    FillWorldVertex(b, s, field.height[x + 1][row], 0, 0, 1, kGroundColour);
    FillWorldVertex(c, 0, field.height[x][row + 1], -s, 1, 0, kGroundColour);
    FillWorldVertex(e, s, field.height[x + 1][row + 1], -s, 1, 1, kGroundColour);
    WorldVertex strip[4];
    if (field.cellFlags[x][row] & kCellSplitOther) {
        // Split along A-D; walking still uses the B-C diagonal.
        d->SetRenderState(RenderState::CullMode, Cull::Clockwise);
        strip[0] = c, strip[1] = e, strip[2] = a, strip[3] = b;
    } else {
        d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
        strip[0] = a, strip[1] = b, strip[2] = c, strip[3] = e;
    }
    d->SetVertexShader(kFvfWorldVertex);
    d->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, strip, sizeof(WorldVertex));
}

// The object standing in the cell, at the cell's centre and the height of its far corner.
void DrawCellObject(GfxDevice* d, const QFldInfo& field, int x, int row, int k) {
    const FieldObject& o = g_FieldObjects[k];
    if (!o.mesh || !o.mesh->mesh) return;
    Matrix44 world, scaling, place;
    world.RotationAxis('Y', o.rotation.y);
    scaling.Scaling(o.scale);
    world.Multiply(scaling);
    place.Translation(float(x) * kFieldCellSize + 512.0f, field.height[x + 1][row + 1],
                      -float(row) * kFieldCellSize - 512.0f);
    world.Multiply(place);
    d->SetTransform(TransformType::World, world);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    o.mesh->draw();
}

}  // namespace

void DrawGround(const QFldInfo& field, int32_t groundLighting) {
    DrawSky();
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    Matrix44 identity;
    identity.Identity();
    d->SetTransform(TransformType::World, identity);
    for (int x = 0; x < kGroundCells; ++x) {
        for (int row = 0; row < kGroundCells; ++row) {
            if (!(field.cellEvent[x][row] & kCellNoGround))
                DrawGroundQuad(d, field, x, row, groundLighting);
            // Numbers past the ten field objects stand for nothing.
            const int k = field.CellObjectAt(x, row);
            if (k >= 0) DrawCellObject(d, field, x, row, k);
        }
    }
}
