#include "platform/gl_draw_batch.h"

#include <cstring>
#include <initializer_list>

namespace {

// Indexed lists with up to this many indices and vertices join batches.
constexpr uint32_t kMaxJoinedIndexed = 96;
// A batch stops growing here; the next draw starts another.
constexpr size_t kMaxBatchBytes = size_t(4) << 20;

// The list a draw joins batches as.
PrimitiveType ListTypeOf(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::LineStrip:
            return PrimitiveType::LineList;
        case PrimitiveType::TriangleStrip:
        case PrimitiveType::TriangleFan:
            return PrimitiveType::TriangleList;
        default:
            return type;
    }
}

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
    const bool list = ListTypeOf(call.type) == call.type;
    const bool small =
        call.indexCount <= kMaxJoinedIndexed && call.vertexCount <= kMaxJoinedIndexed;
    return call.stride > 0 && (small || (list && !call.indices));
}

bool GlDrawBatch::Accepts(const DrawCall& call, const DeviceState& state) const {
    if (Empty() || ListTypeOf(call.type) != type_ || call.stride != stride_) return false;
    if (bytes_.size() + size_t(call.vertexCount) * stride_ > kMaxBatchBytes) return false;
    return SameDrawState(state_, state);
}

void GlDrawBatch::Start(const DrawCall& call, const DeviceState& state) {
    Reset();
    state_ = state;
    type_ = ListTypeOf(call.type);
    stride_ = call.stride;
    Append(call);
}

void GlDrawBatch::AppendVertices(const uint8_t* v, uint32_t count) {
    bytes_.insert(bytes_.end(), v, v + size_t(count) * stride_);
}

void GlDrawBatch::NeedIndices() {
    if (!sequential_) return;
    sequential_ = false;
    uint32_t n = VertexCount();
    indices_.resize(n);
    for (uint32_t i = 0; i < n; ++i) indices_[i] = i;
}

void GlDrawBatch::AppendUnrolled(const DrawCall& call) {
    NeedIndices();
    const uint32_t base = VertexCount();
    AppendVertices(call.vertices, call.vertexCount);
    const uint32_t n = call.indices ? call.indexCount : call.vertexCount;
    auto at = [&](uint32_t i) { return base + (call.indices ? call.indices[i] : i); };
    auto add = [this](std::initializer_list<uint32_t> corners) {
        indices_.insert(indices_.end(), corners);
    };
    for (uint32_t i = 0; i + 1 < n; ++i) {
        if (call.type == PrimitiveType::LineStrip) {
            add({at(i), at(i + 1)});
        } else if (i + 2 >= n) {
            break;
        } else if (call.type == PrimitiveType::TriangleFan) {
            add({at(i + 1), at(i + 2), at(0)});  // GL's flat colour of a fan triangle: i + 1
        } else if (i % 2 == 0) {
            add({at(i), at(i + 1), at(i + 2)});
        } else {
            add({at(i), at(i + 2), at(i + 1)});  // odd triangles turn the other way round
        }
    }
}

void GlDrawBatch::Append(const DrawCall& call) {
    ++drawCount_;
    if (ListTypeOf(call.type) != call.type) {
        AppendUnrolled(call);
        return;
    }
    const uint32_t base = VertexCount();
    if (call.indices) {
        NeedIndices();
        AppendVertices(call.vertices, call.vertexCount);
        for (uint32_t i = 0; i < call.indexCount; ++i) indices_.push_back(base + call.indices[i]);
        return;
    }
    const uint8_t* v = call.vertices;
    const uint32_t n = call.vertexCount;
    const size_t s = stride_;
    // Two triangles a b c, a c d as six vertices: keep a b c d.
    auto isQuad = [v, s](uint32_t i) {
        const uint8_t* q = v + i * s;
        return std::memcmp(q, q + 3 * s, s) == 0 && std::memcmp(q + 2 * s, q + 4 * s, s) == 0;
    };
    if (type_ != PrimitiveType::TriangleList || n % 6 != 0 || !isQuad(0)) {
        if (!sequential_)
            for (uint32_t i = 0; i < n; ++i) indices_.push_back(base + i);
        AppendVertices(v, n);
        return;
    }
    NeedIndices();
    uint32_t next = base;
    for (uint32_t i = 0; i < n; i += 6) {
        const uint8_t* q = v + i * s;
        if (isQuad(i)) {
            AppendVertices(q, 3);
            AppendVertices(q + 5 * s, 1);
            indices_.insert(indices_.end(), {next, next + 1, next + 2, next, next + 2, next + 3});
            next += 4;
        } else {
            AppendVertices(q, 6);
            for (uint32_t k = 0; k < 6; ++k) indices_.push_back(next + k);
            next += 6;
        }
    }
}

void GlDrawBatch::Reset() {
    bytes_.clear();
    indices_.clear();
    sequential_ = true;
    drawCount_ = 0;
}
