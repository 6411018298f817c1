#pragma once
#include <cstdint>
#include <vector>

class GfxDevice;

// Vertices and 16-bit indices that stay the same from frame to frame (a field's ground, a
// mesh). GfxDevice::DrawIndexedPrimitive draws a run of its indices exactly as
// DrawIndexedPrimitiveUP would draw the same vertices and indices from memory; a backend may
// keep a copy of its own (on the GPU) and draw from that, made again after Set. Created by
// GfxDevice::CreateStaticBuffer, destroyed by Release().
class GfxStaticBuffer {
public:
    explicit GfxStaticBuffer(GfxDevice* device) : device_(device) {}
    GfxStaticBuffer(const GfxStaticBuffer&) = delete;
    GfxStaticBuffer& operator=(const GfxStaticBuffer&) = delete;

    // Replaces the content: `vertexCount` vertices of `stride` bytes, and the indices.
    void Set(const void* vertices, uint32_t vertexCount, uint32_t stride, const uint16_t* indices,
             uint32_t indexCount);
    const uint8_t* Vertices() const { return vertices_.data(); }
    uint32_t VertexCount() const { return vertexCount_; }
    uint32_t Stride() const { return stride_; }
    const std::vector<uint16_t>& Indices() const { return indices_; }
    // True when every index names one of the vertices.
    bool IndicesInRange() const { return indicesInRange_; }

    // The device it was made on; null once that device has gone.
    GfxDevice* Device() const { return device_; }
    // Frees the buffer and whatever the backend holds for it.
    void Release();
    // The device went away first; Release() then only frees memory.
    void DetachDevice() { device_ = nullptr; }

    // Backend bookkeeping.
    uint32_t backendHandle = 0;
    bool dirty = true;

private:
    ~GfxStaticBuffer() = default;
    GfxDevice* device_;
    std::vector<uint8_t> vertices_;
    std::vector<uint16_t> indices_;
    uint32_t vertexCount_ = 0, stride_ = 0;
    bool indicesInRange_ = true;
};
