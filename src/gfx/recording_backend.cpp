#include "gfx/recording_backend.h"

#include "gfx/static_buffer.h"
#include "gfx/texture.h"

void RecordingBackend::Clear(uint32_t flags, uint32_t argb, float z) {
    if (keep) clears.push_back({flags, argb, z});
}

void RecordingBackend::Draw(const DrawCall& call, const DeviceState& state) {
    ++drawCount;
    if (!keep) return;
    struct Draw d;
    d.call = call;
    d.call.vertices = nullptr;
    d.call.indices = nullptr;
    d.state = state;
    d.vertices.assign(call.vertices, call.vertices + size_t(call.vertexCount) * call.stride);
    if (call.indices) d.indices.assign(call.indices, call.indices + call.indexCount);
    draws.push_back(std::move(d));
}

void RecordingBackend::UploadTexture(GfxTexture& texture) {
    ++uploadCount;
    if (texture.backendHandle == 0) texture.backendHandle = nextHandle_++;
}

void RecordingBackend::DestroyTexture(GfxTexture& texture) {
    ++destroyCount;
    texture.backendHandle = 0;
}

void RecordingBackend::UploadBuffer(GfxStaticBuffer& buffer) {
    ++bufferUploadCount;
    if (buffer.backendHandle == 0) buffer.backendHandle = nextHandle_++;
}

void RecordingBackend::DestroyBuffer(GfxStaticBuffer& buffer) {
    ++bufferDestroyCount;
    buffer.backendHandle = 0;
}

void RecordingBackend::Reset() {
    draws.clear();
    clears.clear();
    drawCount = presentCount = uploadCount = destroyCount = 0;
    bufferUploadCount = bufferDestroyCount = 0;
}
