#pragma once
#include <cstdint>
#include <vector>

#include "gfx/device_types.h"
#include "math/matrix44.h"

class GfxStaticBuffer;
class GfxTexture;

constexpr int kMaxLights = 24;
constexpr int kTargetWidth = 640;
constexpr int kTargetHeight = 480;

// The fixed-function state the device keeps; a draw carries a reference to it.
struct DeviceState {
    uint32_t renderStates[kRenderStateCount] = {};
    uint32_t stageStates[kTextureStageStateCount] = {};  // texture stage 0
    Matrix44 world{}, view{}, projection{};
    Light lights[kMaxLights];
    bool lightEnabled[kMaxLights] = {};
    Material material;
    GfxTexture* texture = nullptr;  // stage 0
    uint32_t fvf = 0;

    uint32_t Rs(RenderState s) const { return renderStates[static_cast<uint32_t>(s)]; }
    uint32_t Tss(TextureStageState s) const { return stageStates[static_cast<uint32_t>(s)]; }
};

// One resolved draw from user memory. Pointers are valid only during IGraphicsBackend::Draw.
struct DrawCall {
    PrimitiveType type = PrimitiveType::TriangleList;
    uint32_t primitiveCount = 0;
    uint32_t vertexCount = 0;  // vertices readable from `vertices`
    uint32_t stride = 0;
    const uint8_t* vertices = nullptr;
    const uint16_t* indices = nullptr;  // null for non-indexed draws
    uint32_t indexCount = 0;
    // Set when the vertices and indices are those of a static buffer: `vertices` is its first
    // vertex and `indices` its index `firstIndex`. A backend with a copy of the buffer may draw
    // from that instead; the pointers say the same.
    const GfxStaticBuffer* buffer = nullptr;
    uint32_t firstIndex = 0;
};

// What actually puts pixels somewhere: the OpenGL backend, or a recorder for tests.
class IGraphicsBackend {
public:
    virtual ~IGraphicsBackend() = default;
    virtual void Clear(uint32_t flags, uint32_t argb, float z) = 0;
    virtual void BeginScene() {}
    virtual void EndScene() {}
    virtual void Present() = 0;
    virtual void Draw(const DrawCall& call, const DeviceState& state) = 0;
    // The texture's pixels changed (dirty) or it is about to be drawn for the first time.
    virtual void UploadTexture(GfxTexture& texture) = 0;
    virtual void DestroyTexture(GfxTexture& texture) = 0;
    // The same for a static buffer's vertices and indices.
    virtual void UploadBuffer(GfxStaticBuffer& buffer) = 0;
    virtual void DestroyBuffer(GfxStaticBuffer& buffer) = 0;
    // The 640 x 480 target as A8R8G8B8 words, rows top to bottom; false when unavailable.
    virtual bool ReadPixels(std::vector<uint32_t>& argb) {
        (void)argb;
        return false;
    }
};
