#pragma once
#include <cstdint>
#include <vector>

#include "gfx/backend.h"
#include "math/matrix44.h"

// CPU-side preparation of the transform and lighting inputs of the fixed-function program.

// a x b for row-vector matrices (a applies first).
Matrix44 MultiplyRows(const Matrix44& a, const Matrix44& b);

// The matrix that carries normals into view space, as nine floats in row-major order (upload
// with transpose = true): the inverse of the 3 x 3 part of world x view, which is what the
// inverse transpose amounts to once the shader reads matrices transposed. A singular matrix
// falls back to its own 3 x 3 part.
void NormalMatrixOf(const Matrix44& worldView, float out[9]);

// An A8R8G8B8 word as four floats r, g, b, a in 0..1.
void ColorToFloats(uint32_t argb, float out[4]);

// The box around a draw's vertex positions (the first three floats of each vertex) in the
// draw's own space; not valid without vertices or when a position is not finite.
struct PositionBounds {
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    bool valid = false;
};
PositionBounds BoundsOf(const uint8_t* vertices, uint32_t count, uint32_t stride);

// Packs the enabled lights, in index order, with positions and directions taken into view
// space, into 7 vec4s each: diffuse, specular, ambient, (position, type), (direction, range),
// (attenuation 0..2, falloff), (cos theta/2, cos phi/2). Returns the number of lights packed.
// With valid `bounds` (and the draw's world x view), a point or spot light whose range ends
// clearly short of every point of the box is left out: each vertex would find it out of range
// and take nothing from it, so the sums come out the same, and the program loops over fewer.
int PackLights(const DeviceState& state, std::vector<float>& out, const PositionBounds& bounds = {},
               const Matrix44& worldView = {});
