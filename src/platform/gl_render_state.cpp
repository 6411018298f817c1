#include "platform/gl_render_state.h"

GLenum GlCompareFunc(uint32_t cmp) {
    switch (static_cast<Cmp>(cmp)) {
        case Cmp::Never:
            return GL_NEVER;
        case Cmp::Less:
            return GL_LESS;
        case Cmp::Equal:
            return GL_EQUAL;
        case Cmp::LessEqual:
            return GL_LEQUAL;
        case Cmp::Greater:
            return GL_GREATER;
        case Cmp::NotEqual:
            return GL_NOTEQUAL;
        case Cmp::GreaterEqual:
            return GL_GEQUAL;
        case Cmp::Always:
            return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

namespace {

constexpr uint32_t kBlendSrcAlphaSat = 11;
constexpr uint32_t kBlendBothSrcAlpha = 12;
constexpr uint32_t kBlendBothInvSrcAlpha = 13;

GLenum GlBlendFactor(uint32_t b, GLenum fallback) {
    switch (b) {
        case uint32_t(Blend::Zero):
            return GL_ZERO;
        case uint32_t(Blend::One):
            return GL_ONE;
        case uint32_t(Blend::SrcColor):
            return GL_SRC_COLOR;
        case uint32_t(Blend::InvSrcColor):
            return GL_ONE_MINUS_SRC_COLOR;
        case uint32_t(Blend::SrcAlpha):
            return GL_SRC_ALPHA;
        case uint32_t(Blend::InvSrcAlpha):
            return GL_ONE_MINUS_SRC_ALPHA;
        case uint32_t(Blend::DestAlpha):
            return GL_DST_ALPHA;
        case uint32_t(Blend::InvDestAlpha):
            return GL_ONE_MINUS_DST_ALPHA;
        case uint32_t(Blend::DestColor):
            return GL_DST_COLOR;
        case uint32_t(Blend::InvDestColor):
            return GL_ONE_MINUS_DST_COLOR;
        case kBlendSrcAlphaSat:
            return GL_SRC_ALPHA_SATURATE;
    }
    return fallback;
}

}  // namespace

void GlBlendFactors(uint32_t src, uint32_t dst, GLenum& glSrc, GLenum& glDst) {
    if (src == kBlendBothSrcAlpha) {
        glSrc = GL_SRC_ALPHA;
        glDst = GL_ONE_MINUS_SRC_ALPHA;
        return;
    }
    if (src == kBlendBothInvSrcAlpha) {
        glSrc = GL_ONE_MINUS_SRC_ALPHA;
        glDst = GL_SRC_ALPHA;
        return;
    }
    glSrc = GlBlendFactor(src, GL_ONE);
    glDst = GlBlendFactor(dst, GL_ZERO);
}

GLenum GlAddressMode(uint32_t a) {
    switch (static_cast<TextureAddress>(a)) {
        case TextureAddress::Wrap:
            return GL_REPEAT;
        case TextureAddress::Mirror:
            return GL_MIRRORED_REPEAT;
        case TextureAddress::Clamp:
            return GL_CLAMP_TO_EDGE;
        case TextureAddress::Border:
            return GL_CLAMP_TO_BORDER;
    }
    return GL_REPEAT;
}

GLenum GlMagFilter(uint32_t f) {
    return f == uint32_t(TextureFilter::Linear) || f == uint32_t(TextureFilter::Anisotropic)
               ? GL_LINEAR
               : GL_NEAREST;
}

GLenum GlMinFilter(uint32_t minFilter, uint32_t mipFilter) {
    bool linear = GlMagFilter(minFilter) == GL_LINEAR;
    switch (static_cast<TextureFilter>(mipFilter)) {
        case TextureFilter::None:
            return linear ? GL_LINEAR : GL_NEAREST;
        case TextureFilter::Point:
            return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        default:
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
}

void GlStateCache::Enable(GLenum cap, bool on, int slot) {
    if (valid_ && enabled_[slot] == on) return;
    enabled_[slot] = on;
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

void GlStateCache::SetDepthMask(bool on) {
    GLboolean mask = on ? GL_TRUE : GL_FALSE;
    if (valid_ && mask == depthMask_) return;
    glDepthMask(depthMask_ = mask);
    // Before the first Apply only this one state is known; the rest stays to be set.
}

void GlStateCache::Apply(const DeviceState& s, bool pretransformed) {
    // Depth. Off also stops depth writes, as in the original.
    Enable(GL_DEPTH_TEST, s.Rs(RenderState::ZEnable) != 0, 0);
    GLboolean mask = s.Rs(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE;
    if (!valid_ || mask != depthMask_) glDepthMask(depthMask_ = mask);
    GLenum func = GlCompareFunc(s.Rs(RenderState::ZFunc));
    if (!valid_ || func != depthFunc_) glDepthFunc(depthFunc_ = func);
    // Screen vertices carry their own depth and are not clipped by it.
    Enable(GL_DEPTH_CLAMP, pretransformed, 1);

    bool blend = s.Rs(RenderState::AlphaBlendEnable) != 0;
    Enable(GL_BLEND, blend, 2);
    if (blend) {
        GLenum src, dst;
        GlBlendFactors(s.Rs(RenderState::SrcBlend), s.Rs(RenderState::DestBlend), src, dst);
        if (!valid_ || src != blendSrc_ || dst != blendDst_) {
            glBlendFunc(src, dst);
            blendSrc_ = src;
            blendDst_ = dst;
        }
    }

    // Front faces are the ones clockwise on screen (the backend sets glFrontFace once):
    // culling clockwise culls GL front faces, counter-clockwise the back faces.
    uint32_t cull = s.Rs(RenderState::CullMode);
    bool culling = cull == uint32_t(Cull::Clockwise) || cull == uint32_t(Cull::CounterClockwise);
    Enable(GL_CULL_FACE, culling, 3);
    if (culling) {
        GLenum face = cull == uint32_t(Cull::Clockwise) ? GL_FRONT : GL_BACK;
        if (!valid_ || face != cullFace_) glCullFace(cullFace_ = face);
    }

    uint32_t fill = s.Rs(RenderState::FillMode);
    GLenum mode = fill == uint32_t(Fill::Point)       ? GL_POINT
                  : fill == uint32_t(Fill::Wireframe) ? GL_LINE
                                                      : GL_FILL;
    if (!valid_ || mode != polygonMode_) glPolygonMode(GL_FRONT_AND_BACK, polygonMode_ = mode);
    valid_ = true;
}

void GlSamplerCache::Create() {
    glGenSamplers(1, &sampler_);
    valid_ = false;
}

void GlSamplerCache::Destroy() {
    if (sampler_) glDeleteSamplers(1, &sampler_);
    sampler_ = 0;
}

void GlSamplerCache::Apply(const DeviceState& s) {
    GLenum minF =
        GlMinFilter(s.Tss(TextureStageState::MinFilter), s.Tss(TextureStageState::MipFilter));
    GLenum magF = GlMagFilter(s.Tss(TextureStageState::MagFilter));
    GLenum wrapS = GlAddressMode(s.Tss(TextureStageState::AddressU));
    GLenum wrapT = GlAddressMode(s.Tss(TextureStageState::AddressV));
    if (!valid_ || minF != minFilter_)
        glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GLint(minFilter_ = minF));
    if (!valid_ || magF != magFilter_)
        glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GLint(magFilter_ = magF));
    if (!valid_ || wrapS != wrapS_)
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GLint(wrapS_ = wrapS));
    if (!valid_ || wrapT != wrapT_)
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GLint(wrapT_ = wrapT));
    valid_ = true;
}
