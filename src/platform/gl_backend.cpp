#include "platform/gl_backend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/device.h"
#include "gfx/texture.h"
#include "platform/gl_lighting.h"
#include "platform/gl_primitives.h"
#include "platform/gl_texture_upload.h"

namespace {

// The sprite and text set-up (screen vertices, texture x diffuse), built up front so that a
// driver that cannot compile the programs is found when the backend is created.
GlShaderKey CommonKey() {
    DeviceState s;
    s.fvf = kFvfScreenVertex;
    auto ts = [&s](TextureStageState t, auto v) { s.stageStates[uint32_t(t)] = uint32_t(v); };
    ts(TextureStageState::ColorOp, TextureOp::Modulate);
    ts(TextureStageState::ColorArg1, TextureArg::Texture);
    ts(TextureStageState::ColorArg2, TextureArg::Diffuse);
    ts(TextureStageState::AlphaOp, TextureOp::Modulate);
    ts(TextureStageState::AlphaArg1, TextureArg::Texture);
    ts(TextureStageState::AlphaArg2, TextureArg::Diffuse);
    return ShaderKeyFor(s, true);
}

// The list a filtered index list is drawn as.
PrimitiveType ListTypeOf(GLenum mode) {
    return mode == GL_POINTS  ? PrimitiveType::PointList
           : mode == GL_LINES ? PrimitiveType::LineList
                              : PrimitiveType::TriangleList;
}

}  // namespace

std::unique_ptr<GlBackend> GlBackend::Create(std::string& error) {
    if (epoxy_gl_version() < 33) {
        error = "OpenGL 3.3 is needed; the context offers " +
                std::to_string(epoxy_gl_version() / 10) + "." +
                std::to_string(epoxy_gl_version() % 10);
        return nullptr;
    }
    std::unique_ptr<GlBackend> b(new GlBackend());
    if (!b->Init(error)) return nullptr;
    return b;
}

bool GlBackend::Init(std::string& error) {
    if (!programs_.Get(CommonKey(), error)) return false;
    hasS3tc_ = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");

    glGenRenderbuffers(1, &colorBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kTargetWidth, kTargetHeight);
    glGenFramebuffers(1, &fbo_);
    glGenFramebuffers(1, &colourFbo_);
    // The original target has no alpha, so "destination alpha" is always one. A target
    // without alpha gives that by itself; where the driver cannot draw into one, the alpha
    // channel is cleared to one and kept out of every write.
    targetHasAlpha_ = !AttachTargets(GL_RGB8);
    if (targetHasAlpha_ && !AttachTargets(GL_RGBA8)) {
        error = "the 640 x 480 render target cannot be created (framebuffer status " +
                std::to_string(glCheckFramebufferStatus(GL_FRAMEBUFFER)) + ")";
        return false;
    }

    glGenVertexArrays(1, &streamArray_.vao);
    glGenVertexArrays(1, &staticArray_.vao);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindVertexArray(boundVao_ = streamArray_.vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);

    sampler_.Create();
    glBindSampler(0, sampler_.Sampler());
    glActiveTexture(GL_TEXTURE0);

    // Fixed for the backend's life. Front faces are clockwise on screen; the target is drawn
    // upside down in GL's terms (y down), which makes them counter-clockwise to GL.
    glFrontFace(GL_CCW);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DITHER);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);

    BindTarget(true);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (targetHasAlpha_) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glState_.Invalidate();

    GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        error = "OpenGL reported error " + std::to_string(err) + " while setting up";
        return false;
    }
    return true;
}

GlBackend::~GlBackend() {
    sampler_.Destroy();
    programs_.Destroy();
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    for (GLuint vao : {streamArray_.vao, staticArray_.vao})
        if (vao) glDeleteVertexArrays(1, &vao);
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colourFbo_) glDeleteFramebuffers(1, &colourFbo_);
    if (colorBuffer_) glDeleteRenderbuffers(1, &colorBuffer_);
    if (depthBuffer_) glDeleteRenderbuffers(1, &depthBuffer_);
}

bool GlBackend::AttachTargets(GLenum colourFormat) {
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, colourFormat, kTargetWidth, kTargetHeight);
    // The same picture with and without the depth buffer: draws that do not test depth go
    // to the second, where a software rasteriser takes faster paths.
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, colourFbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glGetError();  // a format the driver refuses is not an error of the backend's
    return complete;
}

void GlBackend::BindTarget(bool depth) {
    GLuint fbo = depth ? fbo_ : colourFbo_;
    if (boundFbo_ == fbo) return;
    // The viewport and depth range are the context's, not the framebuffer's: set them only
    // when coming back from the window.
    bool fromWindow = boundFbo_ == 0;
    boundFbo_ = fbo;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    if (!fromWindow) return;
    glViewport(0, 0, kTargetWidth, kTargetHeight);
    glDepthRange(0.0, 1.0);
}

void GlBackend::Clear(uint32_t flags, uint32_t argb, float z) {
    Flush();
    GLbitfield bits = 0;
    if (flags & kClearTarget) {
        float c[4];
        ColorToFloats(argb, c);
        if (std::memcmp(c, clearColour_, sizeof clearColour_) != 0) {
            std::memcpy(clearColour_, c, sizeof clearColour_);
            glClearColor(c[0], c[1], c[2], 1.0f);
        }
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & kClearZBuffer) {
        double depth = std::clamp(double(z), 0.0, 1.0);
        if (depth != clearDepth_) glClearDepth(clearDepth_ = depth);
        glState_.SetDepthMask(true);  // a clear ignores the depth-write state
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if (!bits) return;
    BindTarget((flags & kClearZBuffer) || boundFbo_ != colourFbo_);
    // A target with alpha keeps it at one: a clear with the alpha masked off would be a slow
    // partial clear, so the mask opens for it.
    const bool unmask = targetHasAlpha_ && (bits & GL_COLOR_BUFFER_BIT);
    if (unmask) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(bits);
    if (unmask) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

PresentRect GlBackend::PresentRectFor(int w, int h, PresentScale scale) {
    PresentRect r;
    if (w <= 0 || h <= 0) return r;
    int k = std::min(w / kTargetWidth, h / kTargetHeight);
    if (scale == PresentScale::Integer && k >= 1) {
        r.width = kTargetWidth * k;
        r.height = kTargetHeight * k;
    } else if (int64_t(w) * kTargetHeight <= int64_t(h) * kTargetWidth) {
        r.width = w;  // bars above and below
        r.height = int(int64_t(w) * kTargetHeight / kTargetWidth);
    } else {
        r.height = h;  // bars left and right
        r.width = int(int64_t(h) * kTargetWidth / kTargetHeight);
    }
    r.x = (w - r.width) / 2;
    r.y = (h - r.height) / 2;
    return r;
}

void GlBackend::Present() {
    Flush();
    if (!target_.swap) return;
    int w = kTargetWidth, h = kTargetHeight;
    if (target_.drawableSize) target_.drawableSize(w, h);
    PresentRect r = PresentRectFor(w, h, scale_);
    boundFbo_ = 0;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glViewport(0, 0, w, h);
    if (targetHasAlpha_) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    clearColour_[0] = -1;  // the next Clear sets its own
    glClear(GL_COLOR_BUFFER_BIT);
    // The target's first row is the top of the picture; the window's is its bottom.
    int y0 = h - r.y - r.height;
    GLenum filter =
        (r.width % kTargetWidth == 0 && r.height % kTargetHeight == 0) ? GL_NEAREST : GL_LINEAR;
    glBlitFramebuffer(0, 0, kTargetWidth, kTargetHeight, r.x, y0 + r.height, r.x + r.width, y0,
                      GL_COLOR_BUFFER_BIT, filter);
    target_.swap();
    if (targetHasAlpha_) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

bool GlBackend::ReadPixels(std::vector<uint32_t>& argb) {
    Flush();
    BindTarget(boundFbo_ != colourFbo_);
    std::vector<uint32_t> rows(size_t(kTargetWidth) * kTargetHeight);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, kTargetWidth, kTargetHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 rows.data());
    if (glGetError() != GL_NO_ERROR) return false;
    // The target's rows already run top to bottom; it has no alpha of its own.
    for (uint32_t& p : rows) p |= 0xFF000000u;
    argb = std::move(rows);
    return true;
}

void GlBackend::UploadTexture(GfxTexture& texture) {
    GlPixelFormat gf;
    if (!GlFormatFor(texture.Format(), gf)) return;
    Flush();  // held-back draws use the old pixels
    GLuint name = texture.backendHandle;
    if (name == 0) {
        glGenTextures(1, &name);
        texture.backendHandle = name;
    }
    BindTexture(name);
    UploadTextureLevels(texture, hasS3tc_ && !forceCpuDxt_);
}

void GlBackend::DestroyTexture(GfxTexture& texture) {
    Flush();
    GLuint name = texture.backendHandle;
    if (name) glDeleteTextures(1, &name);
    if (name == boundTexture_) boundTexture_ = 0;
    texture.backendHandle = 0;
}

namespace {

// Where a static buffer's indices start in its GL buffer: after the vertices, 4-byte aligned.
size_t IndexOffsetOf(const GfxStaticBuffer& b) {
    return (size_t(b.VertexCount()) * b.Stride() + 3) & ~size_t(3);
}

}  // namespace

void GlBackend::UploadBuffer(GfxStaticBuffer& buffer) {
    GLuint name = buffer.backendHandle;
    if (name == 0) {
        glGenBuffers(1, &name);
        buffer.backendHandle = name;
    }
    const size_t indexOffset = IndexOffsetOf(buffer);
    const size_t indexBytes = buffer.Indices().size() * sizeof(uint16_t);
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(indexOffset + indexBytes), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(size_t(buffer.VertexCount()) * buffer.Stride()),
                    buffer.Vertices());
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(indexOffset), GLsizeiptr(indexBytes),
                    buffer.Indices().data());
    staticBounds_[name] = BoundsOf(buffer.Vertices(), buffer.VertexCount(), buffer.Stride());
}

void GlBackend::DestroyBuffer(GfxStaticBuffer& buffer) {
    GLuint name = buffer.backendHandle;
    if (name) glDeleteBuffers(1, &name);
    staticBounds_.erase(name);
    // GL may hand the name out again: the static vertex array points into it no longer.
    if (name == staticArray_.buffer) staticArray_.buffer = 0;
    buffer.backendHandle = 0;
}

void GlBackend::Stream(GLenum target, GLuint buffer, const void* data, size_t size) {
    // A fresh store per draw: the driver never waits for earlier draws that read the old one,
    // and on a software rasteriser this beats any sub-range update of a large buffer.
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(size), data, GL_STREAM_DRAW);
}

void GlBackend::BindTexture(GLuint name) {
    if (name == boundTexture_) return;
    glBindTexture(GL_TEXTURE_2D, boundTexture_ = name);
}

void GlBackend::SetVertexLayout(VertexArray& array, GLuint buffer, uint32_t fvf, uint32_t stride) {
    if (boundVao_ != array.vao) glBindVertexArray(boundVao_ = array.vao);
    // The vertex array keeps the layout and the buffer it points into.
    if (buffer == array.buffer && fvf == array.fvf && stride == array.stride) return;
    array.buffer = buffer;
    array.fvf = fvf;
    array.stride = stride;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    auto ptr = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
    size_t offset = 0;
    glEnableVertexAttribArray(kAttribPosition);
    bool rhw = (fvf & kFvfXyzRhw) != 0;
    glVertexAttribPointer(kAttribPosition, rhw ? 4 : 3, GL_FLOAT, GL_FALSE, GLsizei(stride),
                          ptr(offset));
    offset += rhw ? 16 : 12;
    if (fvf & kFvfNormal) {
        glEnableVertexAttribArray(kAttribNormal);
        glVertexAttribPointer(kAttribNormal, 3, GL_FLOAT, GL_FALSE, GLsizei(stride), ptr(offset));
        offset += 12;
    } else {
        glDisableVertexAttribArray(kAttribNormal);
        glVertexAttrib3f(kAttribNormal, 0, 0, 0);
    }
    // Colours are A8R8G8B8 words, i.e. the bytes B, G, R, A: GL's BGRA attribute size.
    if (fvf & kFvfDiffuse) {
        glEnableVertexAttribArray(kAttribDiffuse);
        glVertexAttribPointer(kAttribDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride),
                              ptr(offset));
        offset += 4;
    } else {
        glDisableVertexAttribArray(kAttribDiffuse);
        glVertexAttrib4f(kAttribDiffuse, 1, 1, 1, 1);
    }
    if (fvf & kFvfSpecular) {
        glEnableVertexAttribArray(kAttribSpecular);
        glVertexAttribPointer(kAttribSpecular, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride),
                              ptr(offset));
        offset += 4;
    } else {
        glDisableVertexAttribArray(kAttribSpecular);
        glVertexAttrib4f(kAttribSpecular, 0, 0, 0, 0);
    }
    if (fvf & kFvfTex1) {
        glEnableVertexAttribArray(kAttribTexCoord);
        glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, GLsizei(stride), ptr(offset));
    } else {
        glDisableVertexAttribArray(kAttribTexCoord);
        glVertexAttrib2f(kAttribTexCoord, 0, 0);
    }
}

void GlBackend::SetUniforms(FixedFunctionProgram& p, const DeviceState& s, GfxTexture* texture,
                            const PositionBounds& bounds) {
    auto setInt = [&p](GLint loc, int v) {
        if (p.UniformChanged(loc, &v, sizeof v)) glUniform1i(loc, v);
    };
    auto rs = [&s](RenderState r) { return s.Rs(r); };
    const uint32_t fvf = s.fvf;

    Matrix44 wv{};
    if (!p.key.pretransformed) {
        wv = MultiplyRows(s.world, s.view);
        if (p.UniformChanged(p.worldView, &wv, sizeof wv))
            glUniformMatrix4fv(p.worldView, 1, GL_FALSE, &wv.m[0][0]);
        if (p.UniformChanged(p.projection, &s.projection, sizeof s.projection))
            glUniformMatrix4fv(p.projection, 1, GL_FALSE, &s.projection.m[0][0]);
        if (p.key.lighting) {
            float nm[9];
            NormalMatrixOf(wv, nm);
            if (p.UniformChanged(p.normalMatrix, nm, sizeof nm))
                glUniformMatrix3fv(p.normalMatrix, 1, GL_TRUE, nm);
        }
    }
    if (p.key.lighting) {
        setInt(p.hasNormal, (fvf & kFvfNormal) != 0);
        setInt(p.hasDiffuse, (fvf & kFvfDiffuse) != 0);
        setInt(p.hasSpecular, (fvf & kFvfSpecular) != 0);
        setInt(p.colorVertex, rs(RenderState::ColorVertex) != 0);
        setInt(p.normalizeNormals, rs(RenderState::NormalizeNormals) != 0);
        setInt(p.specularEnable, rs(RenderState::SpecularEnable) != 0);
        int sources[4] = {int(rs(RenderState::DiffuseMaterialSource)),
                          int(rs(RenderState::SpecularMaterialSource)),
                          int(rs(RenderState::AmbientMaterialSource)),
                          int(rs(RenderState::EmissiveMaterialSource))};
        if (p.UniformChanged(p.materialSource, sources, sizeof sources))
            glUniform4iv(p.materialSource, 1, sources);
        const Material& m = s.material;
        float mat[16] = {m.diffuse.r,  m.diffuse.g,  m.diffuse.b,  m.diffuse.a,
                         m.ambient.r,  m.ambient.g,  m.ambient.b,  m.ambient.a,
                         m.specular.r, m.specular.g, m.specular.b, m.specular.a,
                         m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
        if (p.UniformChanged(p.material, mat, sizeof mat)) glUniform4fv(p.material, 4, mat);
        if (p.UniformChanged(p.materialPower, &m.power, sizeof m.power))
            glUniform1f(p.materialPower, m.power);
        float ambient[4];
        ColorToFloats(rs(RenderState::Ambient), ambient);
        if (p.UniformChanged(p.globalAmbient, ambient, sizeof ambient))
            glUniform4fv(p.globalAmbient, 1, ambient);
        int count = PackLights(s, lightScratch_, bounds, wv);
        setInt(p.lightCount, count);
        if (count > 0 &&
            p.UniformChanged(p.lights, lightScratch_.data(), lightScratch_.size() * sizeof(float)))
            glUniform4fv(p.lights, count * kLightVec4s, lightScratch_.data());
    }
    if (texture && p.texelBias >= 0) {
        float bias[2] = {0.5f / (float(texture->Width()) * 256.0f),
                         0.5f / (float(texture->Height()) * 256.0f)};
        if (p.UniformChanged(p.texelBias, bias, sizeof bias)) glUniform2fv(p.texelBias, 1, bias);
    }
    if (p.textureFactor >= 0) {
        float factor[4];
        ColorToFloats(rs(RenderState::TextureFactor), factor);
        if (p.UniformChanged(p.textureFactor, factor, sizeof factor))
            glUniform4fv(p.textureFactor, 1, factor);
    }
    setInt(p.alphaRef, int(rs(RenderState::AlphaRef) & 255));
}

void GlBackend::Draw(const DrawCall& call, const DeviceState& s) {
    const uint32_t minStride = GfxDevice::StrideOf(s.fvf);
    GLenum mode = GlPrimitiveMode(call.type);
    if (minStride == 0 || call.stride < minStride || !call.vertices || call.vertexCount == 0 ||
        mode == 0)
        return;

    if (call.buffer && call.buffer->backendHandle != 0 && call.buffer->IndicesInRange()) {
        Flush();
        SubmitStatic(call, s, mode);
        return;
    }
    DrawCall c = call;
    if (c.indices) {
        if (KeepValidPrimitives(c.type, c.indices, c.indexCount, c.vertexCount, safeIndices_,
                                mode)) {
            c.indices = safeIndices_.data();
            c.indexCount = uint32_t(safeIndices_.size());
            c.type = ListTypeOf(mode);
        }
        if (c.indexCount == 0) return;
    }

    if (GlDrawBatch::Joinable(c)) {
        if (batch_.Accepts(c, s)) {
            batch_.Append(c);
        } else {
            Flush();
            batch_.Start(c, s);
        }
        return;
    }
    Flush();
    Submit(s, mode, c.vertices, c.vertexCount, c.stride, c.indices, GL_UNSIGNED_SHORT,
           c.indexCount);
}

void GlBackend::Flush() {
    if (batch_.Empty()) return;
    const std::vector<uint32_t>& indices = batch_.Indices();
    Submit(batch_.State(), GlPrimitiveMode(batch_.Type()), batch_.Vertices(), batch_.VertexCount(),
           batch_.Stride(), indices.empty() ? nullptr : indices.data(), GL_UNSIGNED_INT,
           uint32_t(indices.size()));
    batch_.Reset();
}

bool GlBackend::Prepare(const DeviceState& s, const uint8_t* vertices, uint32_t vertexCount,
                        uint32_t stride, const PositionBounds* knownBounds) {
    GfxTexture* tex = s.texture;
    const GlShaderKey key = ShaderKeyFor(s, tex && tex->backendHandle != 0);
    std::string error;
    FixedFunctionProgram* p = programs_.Get(key, error);
    if (!p) return false;

    // Without the depth test GL neither reads nor writes depth.
    BindTarget(s.Rs(RenderState::ZEnable) != 0);
    if (p->program != currentProgram_) glUseProgram(currentProgram_ = p->program);
    glState_.Apply(s, key.pretransformed);
    if (key.sampleTexture) {
        BindTexture(tex->backendHandle);
        sampler_.Apply(s);
    }
    // Lit draws leave out the lights that reach none of their vertices.
    PositionBounds bounds;
    if (key.lighting) bounds = knownBounds ? *knownBounds : BoundsOf(vertices, vertexCount, stride);
    SetUniforms(*p, s, key.sampleTexture ? tex : nullptr, bounds);
    return true;
}

void GlBackend::Submit(const DeviceState& s, GLenum mode, const uint8_t* vertices,
                       uint32_t vertexCount, uint32_t stride, const void* indices, GLenum indexType,
                       uint32_t indexCount) {
    if (!Prepare(s, vertices, vertexCount, stride, nullptr)) return;
    Stream(GL_ARRAY_BUFFER, vbo_, vertices, size_t(vertexCount) * stride);
    SetVertexLayout(streamArray_, vbo_, s.fvf, stride);
    ++glDrawCount_;
    if (indices) {
        size_t size = indexType == GL_UNSIGNED_INT ? sizeof(uint32_t) : sizeof(uint16_t);
        Stream(GL_ELEMENT_ARRAY_BUFFER, ibo_, indices, indexCount * size);
        glDrawElements(mode, GLsizei(indexCount), indexType, nullptr);
    } else {
        glDrawArrays(mode, 0, GLsizei(vertexCount));
    }
}

void GlBackend::SubmitStatic(const DrawCall& c, const DeviceState& s, GLenum mode) {
    const GLuint name = c.buffer->backendHandle;
    const auto known = staticBounds_.find(name);
    if (!Prepare(s, c.vertices, c.vertexCount, c.stride,
                 known != staticBounds_.end() ? &known->second : nullptr))
        return;
    const bool rebind = staticArray_.buffer != name;
    SetVertexLayout(staticArray_, name, s.fvf, c.stride);
    // The index binding belongs to the vertex array.
    if (rebind) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, name);
    ++glDrawCount_;
    const size_t offset = IndexOffsetOf(*c.buffer) + size_t(c.firstIndex) * sizeof(uint16_t);
    glDrawElements(mode, GLsizei(c.indexCount), GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(offset));
}
