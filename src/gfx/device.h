#pragma once
#include <cstdint>
#include <set>

#include "gfx/backend.h"
#include "gfx/static_buffer.h"
#include "gfx/texture.h"

// The rendering device: keeps the fixed-function state of the original renderer and hands each
// draw, with that state, to a backend.
class GfxDevice {
public:
    explicit GfxDevice(IGraphicsBackend* backend);
    ~GfxDevice();
    GfxDevice(const GfxDevice&) = delete;
    GfxDevice& operator=(const GfxDevice&) = delete;

    IGraphicsBackend* Backend() const { return backend_; }
    const DeviceState& State() const { return state_; }
    // Every fixed-function state at once, as State() gave it earlier: what draws between the
    // game's frames (the title menu) puts the device back as it found it. A texture released
    // since is not set again.
    void RestoreState(const DeviceState& state);

    int32_t SetRenderState(RenderState state, uint32_t value);
    int32_t SetRenderState(RenderState state, Cull v) { return SetRenderState(state, U(v)); }
    int32_t SetRenderState(RenderState state, Blend v) { return SetRenderState(state, U(v)); }
    int32_t SetRenderState(RenderState state, Cmp v) { return SetRenderState(state, U(v)); }
    int32_t SetRenderState(RenderState state, Fill v) { return SetRenderState(state, U(v)); }
    int32_t SetRenderState(RenderState state, Shade v) { return SetRenderState(state, U(v)); }
    int32_t SetRenderState(RenderState state, MaterialSource v) {
        return SetRenderState(state, U(v));
    }
    uint32_t GetRenderState(RenderState state) const { return state_.Rs(state); }

    int32_t SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value);
    int32_t SetTextureStageState(uint32_t stage, TextureStageState t, TextureOp v) {
        return SetTextureStageState(stage, t, U(v));
    }
    int32_t SetTextureStageState(uint32_t stage, TextureStageState t, TextureArg v) {
        return SetTextureStageState(stage, t, U(v));
    }
    int32_t SetTextureStageState(uint32_t stage, TextureStageState t, TextureAddress v) {
        return SetTextureStageState(stage, t, U(v));
    }
    int32_t SetTextureStageState(uint32_t stage, TextureStageState t, TextureFilter v) {
        return SetTextureStageState(stage, t, U(v));
    }
    uint32_t GetTextureStageState(TextureStageState type) const { return state_.Tss(type); }

    int32_t SetTransform(TransformType type, const Matrix44& m);
    int32_t GetTransform(TransformType type, Matrix44* out) const;
    int32_t SetLight(uint32_t index, const Light& light);
    int32_t LightEnable(uint32_t index, bool enable);
    int32_t SetMaterial(const Material& material);
    int32_t SetTexture(uint32_t stage, GfxTexture* texture);
    // Selects the vertex format of the following draws (the original's fixed-function shader).
    int32_t SetVertexShader(uint32_t fvf);

    int32_t Clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil);
    int32_t BeginScene();
    int32_t EndScene();
    int32_t Present();

    int32_t DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride);
    int32_t DrawIndexedPrimitiveUP(PrimitiveType type, uint32_t minIndex, uint32_t numVertices,
                                   uint32_t primitiveCount, const uint16_t* indices,
                                   const void* vertices, uint32_t stride);
    // Draws from a static buffer the primitives whose indices start at its index
    // `firstIndex`, as DrawIndexedPrimitiveUP draws them from memory (with the buffer's stride,
    // all its vertices readable). Fails when the indices run past the buffer's.
    int32_t DrawIndexedPrimitive(PrimitiveType type, GfxStaticBuffer* buffer, uint32_t firstIndex,
                                 uint32_t primitiveCount);

    int32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          PixelFormat format, Pool pool, GfxTexture** out);
    // An empty static buffer (the GPU's managed vertex and index buffer).
    int32_t CreateStaticBuffer(GfxStaticBuffer** out);
    // Copies every level of a system-memory texture into a texture of the same size and format.
    int32_t UpdateTexture(GfxTexture* source, GfxTexture* destination);

    // Whether clears, draws and presents reach the backend. A run that only keeps some frames'
    // pictures turns drawing off for the others; everything else (state, textures and their
    // uploads, scenes) goes on as usual, so the next drawn frame looks as it would have.
    void SetDrawing(bool on) { drawing_ = on; }
    bool Drawing() const { return drawing_; }

    bool InScene() const { return inScene_; }
    uint32_t LiveTextureCount() const { return static_cast<uint32_t>(textures_.size()); }
    void ForgetTexture(GfxTexture* texture);     // called by GfxTexture::Release
    void ForgetBuffer(GfxStaticBuffer* buffer);  // called by GfxStaticBuffer::Release

    // Vertex count that a primitive count needs.
    static uint32_t VerticesFor(PrimitiveType type, uint32_t primitiveCount);
    static uint32_t StrideOf(uint32_t fvf);

private:
    template <typename E>
    static uint32_t U(E v) {
        return static_cast<uint32_t>(v);
    }
    void PrepareTexture();

    IGraphicsBackend* backend_;
    DeviceState state_;
    bool inScene_ = false;
    bool drawing_ = true;
    std::set<GfxTexture*> textures_;
    std::set<GfxStaticBuffer*> buffers_;
};
