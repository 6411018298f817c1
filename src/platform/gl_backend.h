#pragma once
#include <epoxy/gl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/backend.h"
#include "platform/gl_render_state.h"
#include "platform/gl_shader.h"

// How the 640 x 480 picture is scaled into the window: the largest 4:3 rectangle that fits, or
// the largest whole multiple (sharp pixels). The rest of the window is black.
enum class PresentScale { Fit, Integer };

struct PresentRect {
    int x = 0, y = 0, width = 0, height = 0;  // from the window's top-left corner
};

// Where Present puts the picture. Without a swap function Present does nothing (offscreen).
struct GlPresentTarget {
    std::function<void(int& width, int& height)> drawableSize;
    std::function<void()> swap;
};

// The graphics device's backend on OpenGL 3.3 core: draws into a 640 x 480 offscreen target
// (colour and depth) with one program that behaves like the original fixed-function pipeline,
// and presents that target letterboxed into the window.
//
// Needs its GL context current for its whole life. Destroy the GfxDevice that uses it first.
class GlBackend : public IGraphicsBackend {
public:
    // Null, with the reason in `error`, when the context cannot do what the backend needs.
    static std::unique_ptr<GlBackend> Create(std::string& error);
    ~GlBackend() override;
    GlBackend(const GlBackend&) = delete;
    GlBackend& operator=(const GlBackend&) = delete;

    void SetPresentTarget(GlPresentTarget target) { target_ = std::move(target); }
    void SetPresentScale(PresentScale scale) { scale_ = scale; }
    PresentScale GetPresentScale() const { return scale_; }
    // S3TC textures are uploaded compressed when the driver samples them; this forces the CPU
    // decoder instead (textures uploaded later).
    void SetForceCpuDxt(bool on) { forceCpuDxt_ = on; }
    bool DriverHasS3tc() const { return hasS3tc_; }

    void Clear(uint32_t flags, uint32_t argb, float z) override;
    void Present() override;
    void Draw(const DrawCall& call, const DeviceState& state) override;
    void UploadTexture(GfxTexture& texture) override;
    void DestroyTexture(GfxTexture& texture) override;
    bool ReadPixels(std::vector<uint32_t>& argb) override;

    static PresentRect PresentRectFor(int windowWidth, int windowHeight, PresentScale scale);

private:
    GlBackend() = default;
    bool Init(std::string& error);
    void BindTarget();
    // Copies the draw's vertices or indices into the buffer bound to `target`.
    void Stream(GLenum target, GLuint buffer, const void* data, size_t size);
    void SetVertexLayout(uint32_t fvf, uint32_t stride);
    void SetUniforms(const DeviceState& state, bool pretransformed);
    bool UniformChanged(GLint location, const void* data, size_t size);

    FixedFunctionProgram program_;
    GlStateCache glState_;
    GlSamplerCache sampler_;
    GLuint fbo_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0;
    bool hasS3tc_ = false;
    bool forceCpuDxt_ = false;
    PresentScale scale_ = PresentScale::Fit;
    GlPresentTarget target_;
    std::vector<uint16_t> safeIndices_;
    std::vector<float> lightScratch_;
    std::vector<std::vector<uint8_t>> uniformShadow_;
};
