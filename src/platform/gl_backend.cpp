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

// The original put pixel centres on integer coordinates: its screen (x, y) is GL window
// (x + 0.5, y + 0.5) in the target, whose rows run from the top of the picture down.
constexpr float kPixelOffset[2] = {1.0f / kTargetWidth, 1.0f / kTargetHeight};

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
    if (!BuildFixedFunctionProgram(program_, error)) return false;
    hasS3tc_ = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");

    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kTargetWidth, kTargetHeight);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kTargetWidth, kTargetHeight);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        error = "the 640 x 480 render target cannot be created (framebuffer status " +
                std::to_string(status) + ")";
        return false;
    }

    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);

    sampler_.Create();
    glBindSampler(0, sampler_.Sampler());
    glActiveTexture(GL_TEXTURE0);

    glUseProgram(program_.program);
    glUniform1i(program_.texture, 0);
    glUniform2fv(program_.pixelOffset, 1, kPixelOffset);

    // Fixed for the backend's life. Front faces are clockwise on screen; the target is drawn
    // upside down in GL's terms (y down), which makes them counter-clockwise to GL.
    glFrontFace(GL_CCW);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DITHER);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);

    BindTarget();
    // The original target has no alpha; a cleared alpha of one keeps "destination alpha" one.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
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
    DestroyFixedFunctionProgram(program_);
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colorBuffer_) glDeleteRenderbuffers(1, &colorBuffer_);
    if (depthBuffer_) glDeleteRenderbuffers(1, &depthBuffer_);
}

void GlBackend::BindTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, kTargetWidth, kTargetHeight);
    glDepthRange(0.0, 1.0);
}

void GlBackend::Clear(uint32_t flags, uint32_t argb, float z) {
    GLbitfield bits = 0;
    if (flags & kClearTarget) {
        float c[4];
        ColorToFloats(argb, c);
        glClearColor(c[0], c[1], c[2], 1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & kClearZBuffer) {
        glClearDepth(std::clamp(double(z), 0.0, 1.0));
        glDepthMask(GL_TRUE);  // a clear ignores the depth-write state
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if (!bits) return;
    BindTarget();
    glClear(bits);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glState_.Invalidate();
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
    if (!target_.swap) return;
    int w = kTargetWidth, h = kTargetHeight;
    if (target_.drawableSize) target_.drawableSize(w, h);
    PresentRect r = PresentRectFor(w, h, scale_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glViewport(0, 0, w, h);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The target's first row is the top of the picture; the window's is its bottom.
    int y0 = h - r.y - r.height;
    GLenum filter =
        (r.width % kTargetWidth == 0 && r.height % kTargetHeight == 0) ? GL_NEAREST : GL_LINEAR;
    glBlitFramebuffer(0, 0, kTargetWidth, kTargetHeight, r.x, y0 + r.height, r.x + r.width, y0,
                      GL_COLOR_BUFFER_BIT, filter);
    target_.swap();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    BindTarget();
}

bool GlBackend::ReadPixels(std::vector<uint32_t>& argb) {
    BindTarget();
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
    GLuint name = texture.backendHandle;
    if (name == 0) {
        glGenTextures(1, &name);
        texture.backendHandle = name;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    UploadTextureLevels(texture, hasS3tc_ && !forceCpuDxt_);
}

void GlBackend::DestroyTexture(GfxTexture& texture) {
    GLuint name = texture.backendHandle;
    if (name) glDeleteTextures(1, &name);
    texture.backendHandle = 0;
}

void GlBackend::Stream(GLenum target, GLuint buffer, const void* data, size_t size) {
    // A fresh store per draw: the driver never waits for earlier draws that read the old one,
    // and on a software rasteriser this beats any sub-range update of a large buffer.
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(size), data, GL_STREAM_DRAW);
}

void GlBackend::SetVertexLayout(uint32_t fvf, uint32_t stride) {
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

bool GlBackend::UniformChanged(GLint location, const void* data, size_t size) {
    if (location < 0) return false;
    if (size_t(location) >= uniformShadow_.size()) uniformShadow_.resize(size_t(location) + 1);
    std::vector<uint8_t>& last = uniformShadow_[size_t(location)];
    if (last.size() == size && std::memcmp(last.data(), data, size) == 0) return false;
    last.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    return true;
}

void GlBackend::SetUniforms(const DeviceState& s, bool pretransformed) {
    const FixedFunctionProgram& p = program_;
    auto setInt = [this](GLint loc, int v) {
        if (UniformChanged(loc, &v, sizeof v)) glUniform1i(loc, v);
    };
    auto setInt2 = [this](GLint loc, int a, int b) {
        int v[2] = {a, b};
        if (UniformChanged(loc, v, sizeof v)) glUniform2iv(loc, 1, v);
    };
    auto rs = [&s](RenderState r) { return s.Rs(r); };
    auto ts = [&s](TextureStageState t) { return int(s.Tss(t)); };
    const uint32_t fvf = s.fvf;

    setInt(p.pretransformed, pretransformed);
    const bool lighting = !pretransformed && rs(RenderState::Lighting) != 0;
    setInt(p.lighting, lighting);
    setInt(p.hasDiffuse, (fvf & kFvfDiffuse) != 0);
    setInt(p.hasSpecular, (fvf & kFvfSpecular) != 0);
    if (!pretransformed) {
        Matrix44 wv = MultiplyRows(s.world, s.view);
        if (UniformChanged(p.worldView, &wv, sizeof wv))
            glUniformMatrix4fv(p.worldView, 1, GL_FALSE, &wv.m[0][0]);
        if (UniformChanged(p.projection, &s.projection, sizeof s.projection))
            glUniformMatrix4fv(p.projection, 1, GL_FALSE, &s.projection.m[0][0]);
        if (lighting) {
            float nm[9];
            NormalMatrixOf(wv, nm);
            if (UniformChanged(p.normalMatrix, nm, sizeof nm))
                glUniformMatrix3fv(p.normalMatrix, 1, GL_TRUE, nm);
        }
    }
    if (lighting) {
        setInt(p.hasNormal, (fvf & kFvfNormal) != 0);
        setInt(p.colorVertex, rs(RenderState::ColorVertex) != 0);
        setInt(p.normalizeNormals, rs(RenderState::NormalizeNormals) != 0);
        int sources[4] = {int(rs(RenderState::DiffuseMaterialSource)),
                          int(rs(RenderState::SpecularMaterialSource)),
                          int(rs(RenderState::AmbientMaterialSource)),
                          int(rs(RenderState::EmissiveMaterialSource))};
        if (UniformChanged(p.materialSource, sources, sizeof sources))
            glUniform4iv(p.materialSource, 1, sources);
        const Material& m = s.material;
        float mat[16] = {m.diffuse.r,  m.diffuse.g,  m.diffuse.b,  m.diffuse.a,
                         m.ambient.r,  m.ambient.g,  m.ambient.b,  m.ambient.a,
                         m.specular.r, m.specular.g, m.specular.b, m.specular.a,
                         m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
        if (UniformChanged(p.material, mat, sizeof mat)) glUniform4fv(p.material, 4, mat);
        if (UniformChanged(p.materialPower, &m.power, sizeof m.power))
            glUniform1f(p.materialPower, m.power);
        float ambient[4];
        ColorToFloats(rs(RenderState::Ambient), ambient);
        if (UniformChanged(p.globalAmbient, ambient, sizeof ambient))
            glUniform4fv(p.globalAmbient, 1, ambient);
        int count = PackLights(s, lightScratch_);
        setInt(p.lightCount, count);
        if (count > 0 &&
            UniformChanged(p.lights, lightScratch_.data(), lightScratch_.size() * sizeof(float)))
            glUniform4fv(p.lights, count * kLightVec4s, lightScratch_.data());
    }
    setInt(p.specularEnable, rs(RenderState::SpecularEnable) != 0);
    setInt(p.addSpecular, rs(RenderState::SpecularEnable) != 0);
    setInt(p.flatShade, rs(RenderState::ShadeMode) == uint32_t(Shade::Flat));

    setInt2(p.stageOps, ts(TextureStageState::ColorOp), ts(TextureStageState::AlphaOp));
    setInt2(p.colorArgs, ts(TextureStageState::ColorArg1), ts(TextureStageState::ColorArg2));
    setInt2(p.alphaArgs, ts(TextureStageState::AlphaArg1), ts(TextureStageState::AlphaArg2));
    float factor[4];
    ColorToFloats(rs(RenderState::TextureFactor), factor);
    if (UniformChanged(p.textureFactor, factor, sizeof factor))
        glUniform4fv(p.textureFactor, 1, factor);
    if (rs(RenderState::AlphaTestEnable))
        setInt2(p.alphaTest, int(rs(RenderState::AlphaFunc)), int(rs(RenderState::AlphaRef) & 255));
    else
        setInt2(p.alphaTest, 0, 0);
}

void GlBackend::Draw(const DrawCall& call, const DeviceState& s) {
    const uint32_t fvf = s.fvf;
    const uint32_t minStride = GfxDevice::StrideOf(fvf);
    GLenum mode = GlPrimitiveMode(call.type);
    if (minStride == 0 || call.stride < minStride || !call.vertices || call.vertexCount == 0 ||
        mode == 0)
        return;

    const uint16_t* indices = call.indices;
    uint32_t count = indices ? call.indexCount : call.vertexCount;
    if (indices &&
        KeepValidPrimitives(call.type, indices, count, call.vertexCount, safeIndices_, mode)) {
        indices = safeIndices_.data();
        count = uint32_t(safeIndices_.size());
    }
    if (count == 0) return;

    BindTarget();
    glUseProgram(program_.program);
    glBindVertexArray(vao_);
    const bool pretransformed = (fvf & kFvfXyzRhw) != 0;
    glState_.Apply(s, pretransformed);

    GfxTexture* tex = s.texture;
    const bool textured = tex && tex->backendHandle != 0;
    if (textured) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, tex->backendHandle);
        sampler_.Apply(s);
    }
    SetUniforms(s, pretransformed);
    int hasTexture = textured;
    if (UniformChanged(program_.hasTexture, &hasTexture, sizeof hasTexture))
        glUniform1i(program_.hasTexture, hasTexture);

    Stream(GL_ARRAY_BUFFER, vbo_, call.vertices, size_t(call.vertexCount) * call.stride);
    SetVertexLayout(fvf, call.stride);
    if (indices) {
        Stream(GL_ELEMENT_ARRAY_BUFFER, ibo_, indices, size_t(count) * sizeof(uint16_t));
        glDrawElements(mode, GLsizei(count), GL_UNSIGNED_SHORT, nullptr);
    } else {
        glDrawArrays(mode, 0, GLsizei(count));
    }
}
