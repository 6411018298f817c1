#pragma once
#include <cstdint>
#include <memory>

#include "gfx/device_types.h"
#include "math/vector3.h"

struct TextureSlot;
struct XMeshHolder;

// World tables of the field that live for the whole run; the field file fills them, scripts
// and the battle change them.
constexpr int kBillboardCount = 24;
constexpr int kFieldLightCount = 20;
constexpr int kFieldMeshCount = 10;
constexpr int kFieldObjectCount = 10;
// Billboard i shows texture slot i + kBillboardFirstSlot unless the field file says otherwise.
constexpr int kBillboardFirstSlot = 6;

// A camera-facing picture standing on its position.
struct Billboard {
    TextureSlot* image = nullptr;  // null: not drawn
    Vector3 position;              // the foot of the picture
    float widthScale = 0.0f;
    float heightScale = 0.0f;
    // Each used as its low 8 bits for the vertex colour.
    int32_t red = 0, green = 0, blue = 0, alpha = 0;
    int32_t depthFunc = 0;      // depth compare of its draw; scripts set it
    float heightFactor = 0.0f;  // times heightScale gives the quad's height; scripts set it
};

// Something standing in the field: a mesh or one of the drawn shapes.
struct FieldObject {
    int32_t kind = 0;  // 0 not drawn; 1 mesh, 2 ring, 3 crystal, 4 crystal circle, 5 flash
    XMeshHolder* mesh = nullptr;        // not owned: one of g_FieldMeshes or none
    uint32_t colour = 0;                // ARGB
    Vector3 position, rotation, scale;  // rotation in radians
};

extern Billboard g_Billboards[kBillboardCount];
// Entry i is device light i + 1; empty where a script deleted the light.
extern std::unique_ptr<Light> g_FieldLights[kFieldLightCount];
extern std::unique_ptr<XMeshHolder> g_FieldMeshes[kFieldMeshCount];
extern FieldObject g_FieldObjects[kFieldObjectCount];

// No image, at the origin, scales 1, opaque white, depth less-or-equal, height factor 64.
void ResetBillboard(Billboard& b);
// Moves the foot down by half the picture's height, so that the position becomes its centre.
void LowerBillboard(Billboard& b);
// Kind 1, no mesh, opaque black, at the origin unrotated, scale 1. Indices outside the table
// are ignored by these and the light functions below.
void ResetFieldObject(int i);
// Releases what its mesh holder holds (if it has one) and stops drawing it.
void ClearFieldObject(int i);
// Replaces slot i's light by a point light with the field's defaults.
void MakePointLight(int i);
// Point-light defaults on slot i, handed to the device as light i + 1 and switched on.
void CreateFieldLight(int i);
// Empties slot i and switches device light i + 1 off.
void DeleteFieldLight(int i);

// Game start: field objects reset with a new empty mesh holder each, billboard i on texture
// slot i + 6 and out of sight at (-8192, 0, -8192), objects turned by 180 degrees, all lights
// created on the device and moved out of the field to x = -8192.
void StartFieldTables();
// Shutdown and tests: releases the mesh holders, the lights and the ground's buffer and resets
// every record.
void ReleaseFieldTables();
