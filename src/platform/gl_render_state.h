#pragma once
#include <epoxy/gl.h>

#include <cstdint>

#include "gfx/backend.h"

// GL equivalents of the original API's state values.
GLenum GlCompareFunc(uint32_t cmp);
// Source and destination factors; the "both" blend modes set the two together.
void GlBlendFactors(uint32_t src, uint32_t dst, GLenum& glSrc, GLenum& glDst);
GLenum GlAddressMode(uint32_t address);
GLenum GlMinFilter(uint32_t minFilter, uint32_t mipFilter);
GLenum GlMagFilter(uint32_t magFilter);

// Fixed-function render states that live in GL's own state (depth, blending, culling, fill),
// set only when they change.
class GlStateCache {
public:
    // Forget what GL holds; the next Apply sets everything.
    void Invalidate() { valid_ = false; }
    void Apply(const DeviceState& state, bool pretransformed);
    // Depth writes for a clear, which ignores the depth-write state.
    void SetDepthMask(bool on);

private:
    void Enable(GLenum cap, bool on, int slot);

    bool valid_ = false;
    bool enabled_[4] = {};
    GLboolean depthMask_ = GL_TRUE;
    GLenum depthFunc_ = 0, blendSrc_ = 0, blendDst_ = 0, cullFace_ = 0, polygonMode_ = 0;
};

// Sampler parameters of texture stage 0, set only when they change.
class GlSamplerCache {
public:
    void Create();
    void Destroy();
    void Invalidate() { valid_ = false; }
    void Apply(const DeviceState& state);
    GLuint Sampler() const { return sampler_; }

private:
    GLuint sampler_ = 0;
    bool valid_ = false;
    GLenum minFilter_ = 0, magFilter_ = 0, wrapS_ = 0, wrapT_ = 0;
};
