#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/backend.h"

// Keeps every draw with a copy of its state and vertices, so tests can look at what the game
// asked the device to do. With keep = false it only counts (the headless default).
class RecordingBackend : public IGraphicsBackend {
public:
    struct Draw {
        DrawCall call;  // pointers cleared; use the vectors below
        DeviceState state;
        std::vector<uint8_t> vertices;
        std::vector<uint16_t> indices;
    };
    struct ClearCall {
        uint32_t flags, argb;
        float z;
    };

    bool keep = true;
    std::vector<Draw> draws;
    std::vector<ClearCall> clears;
    uint64_t drawCount = 0, presentCount = 0, uploadCount = 0, destroyCount = 0;
    uint64_t bufferUploadCount = 0, bufferDestroyCount = 0;

    void Clear(uint32_t flags, uint32_t argb, float z) override;
    void Present() override { ++presentCount; }
    void Draw(const DrawCall& call, const DeviceState& state) override;
    void UploadTexture(GfxTexture& texture) override;
    void DestroyTexture(GfxTexture& texture) override;
    void UploadBuffer(GfxStaticBuffer& buffer) override;
    void DestroyBuffer(GfxStaticBuffer& buffer) override;
    void Reset();

    // Vertex i of draw d, read as a T (for tests).
    template <typename T>
    const T& Vertex(const struct Draw& d, uint32_t i) const {
        return *reinterpret_cast<const T*>(d.vertices.data() + size_t(i) * d.call.stride);
    }

private:
    uint32_t nextHandle_ = 1;
};
