#include "platform/gl_draw_batch.h"

#include <cstring>

namespace {

// Indexed lists up to this many indices are resolved into the batch.
constexpr uint32_t kMaxJoinedIndices = 96;
// A batch stops growing here; the next draw starts another.
constexpr size_t kMaxBatchBytes = size_t(4) << 20;

template <typename T>
bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace

bool SameDrawState(const DeviceState& a, const DeviceState& b) {
    if (a.fvf != b.fvf || a.texture != b.texture) return false;
    if (!SameBytes(a.renderStates, b.renderStates) || !SameBytes(a.stageStates, b.stageStates))
        return false;
    if (a.fvf & kFvfXyzRhw) return true;  // screen vertices: no matrices, never lit
    if (!SameBytes(a.world, b.world) || !SameBytes(a.view, b.view) ||
        !SameBytes(a.projection, b.projection))
        return false;
    if (!a.Rs(RenderState::Lighting)) return true;
    return SameBytes(a.lights, b.lights) && SameBytes(a.lightEnabled, b.lightEnabled) &&
           SameBytes(a.material, b.material);
}

bool GlDrawBatch::Joinable(const DrawCall& call) {
    bool list = call.type == PrimitiveType::TriangleList || call.type == PrimitiveType::LineList ||
                call.type == PrimitiveType::PointList;
    return list && call.stride > 0 && (!call.indices || call.indexCount <= kMaxJoinedIndices);
}

bool GlDrawBatch::Accepts(const DrawCall& call, const DeviceState& state) const {
    if (Empty() || call.type != type_ || call.stride != stride_) return false;
    size_t vertices = call.indices ? call.indexCount : call.vertexCount;
    if (bytes_.size() + vertices * stride_ > kMaxBatchBytes) return false;
    return SameDrawState(state_, state);
}

void GlDrawBatch::Start(const DrawCall& call, const DeviceState& state) {
    Reset();
    state_ = state;
    type_ = call.type;
    stride_ = call.stride;
    Append(call);
}

void GlDrawBatch::Append(const DrawCall& call) {
    if (call.indices) {
        size_t at = bytes_.size();
        bytes_.resize(at + size_t(call.indexCount) * stride_);
        for (uint32_t i = 0; i < call.indexCount; ++i, at += stride_)
            std::memcpy(&bytes_[at], call.vertices + size_t(call.indices[i]) * stride_, stride_);
    } else {
        bytes_.insert(bytes_.end(), call.vertices,
                      call.vertices + size_t(call.vertexCount) * stride_);
    }
    ++drawCount_;
}

void GlDrawBatch::Reset() {
    bytes_.clear();
    drawCount_ = 0;
}
