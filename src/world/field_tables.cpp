#include "world/field_tables.h"

#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh_holder.h"
#include "math/math_scalar.h"
#include "world/scene_ground.h"

Billboard g_Billboards[kBillboardCount];
std::unique_ptr<Light> g_FieldLights[kFieldLightCount];
std::unique_ptr<XMeshHolder> g_FieldMeshes[kFieldMeshCount];
FieldObject g_FieldObjects[kFieldObjectCount];

namespace {

bool ObjectIndex(int i) {
    return i >= 0 && i < kFieldObjectCount;
}

bool LightIndex(int i) {
    return i >= 0 && i < kFieldLightCount;
}

// Out of sight: left of the field's first column.
constexpr float kAway = -8192.0f;

}  // namespace

void ResetBillboard(Billboard& b) {
    b.image = nullptr;
    b.position = Vector3{};
    b.widthScale = b.heightScale = 1.0f;
    b.red = b.green = b.blue = b.alpha = 255;
    b.depthFunc = static_cast<int32_t>(Cmp::LessEqual);
    b.heightFactor = 64.0f;
}

void LowerBillboard(Billboard& b) {
    b.position.y -= b.heightFactor * b.heightScale * 0.5f;
}

void ResetFieldObject(int i) {
    if (!ObjectIndex(i)) return;
    FieldObject& o = g_FieldObjects[i];
    o.kind = 1;
    o.mesh = nullptr;
    o.colour = 0xFF000000u;
    o.position = Vector3{};
    o.rotation = Vector3{};
    o.scale = Vector3{1.0f, 1.0f, 1.0f};
}

void ClearFieldObject(int i) {
    if (!ObjectIndex(i)) return;
    if (g_FieldObjects[i].mesh) g_FieldObjects[i].mesh->release();
    g_FieldObjects[i].kind = 0;
}

void MakePointLight(int i) {
    if (!LightIndex(i)) return;
    auto light = std::make_unique<Light>();
    light->type = LightType::Point;
    light->diffuse = ColorValue{0.5f, 0.5f, 0.5f, 0.0f};
    light->ambient = ColorValue{0.25f, 0.25f, 0.25f, 0.0f};
    light->position = DeviceVector{0.0f, 80.0f, 0.0f};
    light->range = 512.0f;
    light->attenuation0 = 0.1f;
    g_FieldLights[i] = std::move(light);
}

void CreateFieldLight(int i) {
    if (!LightIndex(i)) return;
    MakePointLight(i);
    if (!g_pd3dDevice) return;
    g_pd3dDevice->SetLight(uint32_t(i + 1), *g_FieldLights[i]);
    g_pd3dDevice->LightEnable(uint32_t(i + 1), true);
}

void DeleteFieldLight(int i) {
    if (!LightIndex(i)) return;
    g_FieldLights[i].reset();
    if (g_pd3dDevice) g_pd3dDevice->LightEnable(uint32_t(i + 1), false);
}

void StartFieldTables() {
    for (int i = 0; i < kFieldObjectCount; ++i) {
        ResetFieldObject(i);
        g_FieldMeshes[i] = std::make_unique<XMeshHolder>();
    }
    for (int i = 0; i < kBillboardCount; ++i) {
        g_Billboards[i].image = &g_TextureSlots[i + kBillboardFirstSlot];
        g_Billboards[i].position = Vector3{kAway, 0.0f, kAway};
    }
    for (FieldObject& o : g_FieldObjects) {
        o.rotation.y = 180.0f * kDegToRad;
        o.position = Vector3{};
        o.kind = 1;
        o.mesh = nullptr;
    }
    for (int i = 0; i < kFieldLightCount; ++i) {
        CreateFieldLight(i);
        g_FieldLights[i]->position.x = kAway;
        if (g_pd3dDevice) g_pd3dDevice->SetLight(uint32_t(i + 1), *g_FieldLights[i]);
    }
}

void ReleaseFieldTables() {
    for (FieldObject& o : g_FieldObjects) o = FieldObject{};
    for (auto& holder : g_FieldMeshes) holder.reset();
    for (auto& light : g_FieldLights) light.reset();
    for (Billboard& b : g_Billboards) b = Billboard{};
    ReleaseGroundMesh();
}
