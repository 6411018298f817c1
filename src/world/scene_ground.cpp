#include "world/scene_ground.h"

#include "gfx/d3d.h"
#include "gfx/x_mesh_holder.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/ground_mesh.h"
#include "world/scene_sky.h"

namespace {

GroundMesh g_groundMesh;

// What every ground quad sets alike.
void SetGroundStates(GfxDevice* d, int32_t lighting) {
    d->SetRenderState(RenderState::Lighting, static_cast<uint32_t>(lighting));
    d->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    d->SetRenderState(RenderState::FillMode, Fill::Solid);
    d->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    d->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Linear);
    d->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Wrap);
    d->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Wrap);
}

// What cell (x, row)'s own quad set besides: its texture, its place, its culling.
void SetCellStates(GfxDevice* d, const QFldInfo& field, int x, int row) {
    // Image numbers past the field's 32 ground images find no texture and draw untextured.
    d->SetTexture(0, field.GroundTextureAt(x, row));
    Matrix44 world;
    world.Translation(float(x) * kFieldCellSize, 0.0f, -float(row) * kFieldCellSize);
    d->SetTransform(TransformType::World, world);
    d->SetRenderState(RenderState::CullMode, (field.cellFlags[x][row] & kCellSplitOther)
                                                 ? Cull::Clockwise
                                                 : Cull::CounterClockwise);
    d->SetVertexShader(kFvfWorldVertex);
}

// Every ground quad, one draw per texture. The quads are opaque, depth-tested and never
// overlap, so their order among themselves does not show.
void DrawGroundQuads(GfxDevice* d, const QFldInfo& field, int32_t lighting) {
    if (!g_groundMesh.Update(d, field)) return;
    SetGroundStates(d, lighting);
    Matrix44 identity;
    identity.Identity();
    d->SetTransform(TransformType::World, identity);
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->SetVertexShader(kFvfWorldVertex);
    for (const GroundMesh::Group& g : g_groundMesh.Groups()) {
        d->SetTexture(0, g.texture);
        d->DrawIndexedPrimitive(PrimitiveType::TriangleList, g_groundMesh.Buffer(), g.firstIndex,
                                g.triangles);
    }
}

// The object standing in the cell, at the cell's centre and the height of its far corner;
// false when it has no mesh (nothing drawn, nothing set).
bool DrawCellObject(GfxDevice* d, const QFldInfo& field, int x, int row, int k) {
    const FieldObject& o = g_FieldObjects[k];
    if (!o.mesh || !o.mesh->mesh) return false;
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
    return true;
}

}  // namespace

void DrawGround(const QFldInfo& field, int32_t groundLighting) {
    DrawSky();
    GfxDevice* d = g_pd3dDevice;
    if (!d) return;
    Matrix44 identity;
    identity.Identity();
    d->SetTransform(TransformType::World, identity);
    // Cell by cell, the ground where the first quad was; the objects in their cells' order,
    // those before the first quad under the sky's states, the others under the ground's.
    bool groundDrawn = false;
    int lastX = -1, lastRow = -1;  // the last quad drawn after every object
    for (int x = 0; x < kGroundCells; ++x) {
        for (int row = 0; row < kGroundCells; ++row) {
            if (!(field.cellEvent[x][row] & kCellNoGround)) {
                if (!groundDrawn) DrawGroundQuads(d, field, groundLighting);
                groundDrawn = true;
                lastX = x, lastRow = row;
            }
            // Numbers past the ten field objects stand for nothing.
            const int k = field.CellObjectAt(x, row);
            if (k >= 0 && DrawCellObject(d, field, x, row, k)) lastX = -1;
        }
    }
    // The device as the last quad left it when quads were drawn one by one.
    if (lastX >= 0) SetCellStates(d, field, lastX, lastRow);
}

void ReleaseGroundMesh() {
    g_groundMesh.Release();
}
