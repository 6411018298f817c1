#include "gfx/static_buffer.h"

#include <algorithm>

#include "gfx/device.h"

void GfxStaticBuffer::Set(const void* vertices, uint32_t vertexCount, uint32_t stride,
                          const uint16_t* indices, uint32_t indexCount) {
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    vertices_.assign(bytes, bytes + size_t(vertexCount) * stride);
    indices_.assign(indices, indices + indexCount);
    vertexCount_ = vertexCount;
    stride_ = stride;
    indicesInRange_ = std::all_of(indices_.begin(), indices_.end(),
                                  [vertexCount](uint16_t i) { return i < vertexCount; });
    dirty = true;
}

void GfxStaticBuffer::Release() {
    if (device_) device_->ForgetBuffer(this);
    delete this;
}
