#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/backend.h"

// True when two states draw alike in every way the GL backend can tell: render and stage
// states, vertex format, texture, and (for world vertices) the matrices, plus the lights and
// the material while lighting is on.
bool SameDrawState(const DeviceState& a, const DeviceState& b);

// Consecutive draws that GL can take in one call: point, line and triangle lists under the
// same state, their vertices laid one after the other. Small indexed lists join with their
// indices moved past the vertices before them. Small strips and fans join as the lists GL makes
// of them, each triangle (or line) with its corners in the order GL takes them and the vertex
// that gives a flat colour first, so they come out as they would on their own; large draws
// never join (copying them would cost more than it saves). Quads drawn as two triangles that
// repeat two corners (0 1 2, 0 2 3) keep four vertices and six indices, so the driver
// transforms each corner once.
class GlDrawBatch {
public:
    // Whether `call` may take part in a batch at all. Its indices must all be valid.
    static bool Joinable(const DrawCall& call);

    bool Empty() const { return drawCount_ == 0; }
    // Whether `call` under `state` can be appended to the pending draws.
    bool Accepts(const DrawCall& call, const DeviceState& state) const;
    // Drops the pending draws and starts again with `call` under a copy of `state`.
    void Start(const DrawCall& call, const DeviceState& state);
    void Append(const DrawCall& call);
    void Reset();

    const DeviceState& State() const { return state_; }
    // A list type: strips and fans are unrolled.
    PrimitiveType Type() const { return type_; }
    uint32_t Stride() const { return stride_; }
    const uint8_t* Vertices() const { return bytes_.data(); }
    uint32_t VertexCount() const { return uint32_t(bytes_.size() / stride_); }
    // The vertices in drawing order; none when that is simply 0, 1, 2, ...
    const std::vector<uint32_t>& Indices() const { return indices_; }
    uint32_t DrawCount() const { return drawCount_; }

private:
    void AppendVertices(const uint8_t* v, uint32_t count);
    // A strip's or fan's vertices and the list of its primitives.
    void AppendUnrolled(const DrawCall& call);
    // Switches from "vertices in order" to an explicit index list.
    void NeedIndices();

    DeviceState state_;
    PrimitiveType type_ = PrimitiveType::TriangleList;
    uint32_t stride_ = 0;
    uint32_t drawCount_ = 0;
    bool sequential_ = true;
    std::vector<uint8_t> bytes_;
    std::vector<uint32_t> indices_;
};
