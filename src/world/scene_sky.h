#pragma once
#include <cstdint>

// The sky box: five faces of a cube of half-size 256 around the eye (no bottom), textured from
// texture slots 1-5 and drawn with the depth test off, so that everything drawn later covers
// it. The depth test is on again afterwards.
constexpr int kSkyFaceCount = 5;
constexpr int kSkyFirstSlot = 1;
constexpr float kSkyHalfSize = 256.0f;

// One corner of a sky face (vertex format 0x142).
struct SkyVertex {
    float x, y, z;
    uint32_t diffuse;
    float u, v;
};
static_assert(sizeof(SkyVertex) == 24);

// The four corners of face f (top, +z, -x, -z, +x), each drawn as the triangles 0-1-2, 2-3-0.
extern const SkyVertex kSkyFaces[kSkyFaceCount][4];

void DrawSky();
