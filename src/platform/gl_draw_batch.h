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
// indices resolved into vertices; strips, fans and large indexed draws never join (their
// primitives depend on their neighbours, or copying them would cost more than it saves).
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
    PrimitiveType Type() const { return type_; }
    uint32_t Stride() const { return stride_; }
    const uint8_t* Vertices() const { return bytes_.data(); }
    uint32_t VertexCount() const { return uint32_t(bytes_.size() / stride_); }
    uint32_t DrawCount() const { return drawCount_; }

private:
    DeviceState state_;
    PrimitiveType type_ = PrimitiveType::TriangleList;
    uint32_t stride_ = 0;
    uint32_t drawCount_ = 0;
    std::vector<uint8_t> bytes_;
};
