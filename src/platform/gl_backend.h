#pragma once
#include <epoxy/gl.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/backend.h"
#include "platform/gl_draw_batch.h"
#include "platform/gl_lighting.h"
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
// (colour and depth) with programs that behave like the original fixed-function pipeline (one
// variant per combination of states in use), and presents that target letterboxed into the
// window.
//
// Consecutive draws under the same state are held back and drawn together; whatever looks at
// or changes what they draw with (Clear, Present, ReadPixels, texture uploads and deletions)
// draws them first.
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

    // Draws the held-back draws now.
    void Flush();
    // Programs compiled so far (one per combination of states drawn with).
    size_t ProgramCount() const { return programs_.Size(); }
    // GL draw calls issued since the backend was made: what reaches the driver after merging.
    uint64_t GlDrawCount() const { return glDrawCount_; }

    void Clear(uint32_t flags, uint32_t argb, float z) override;
    void Present() override;
    void Draw(const DrawCall& call, const DeviceState& state) override;
    void UploadTexture(GfxTexture& texture) override;
    void DestroyTexture(GfxTexture& texture) override;
    // A static buffer lives in one GL buffer: its vertices, then its indices.
    void UploadBuffer(GfxStaticBuffer& buffer) override;
    void DestroyBuffer(GfxStaticBuffer& buffer) override;
    bool ReadPixels(std::vector<uint32_t>& argb) override;

    static PresentRect PresentRectFor(int windowWidth, int windowHeight, PresentScale scale);

private:
    // A vertex array object with the layout and buffer its attributes point into.
    struct VertexArray {
        GLuint vao = 0;
        GLuint buffer = 0;
        uint32_t fvf = 0, stride = 0;
    };

    GlBackend() = default;
    bool Init(std::string& error);
    // Gives the colour buffer `colourFormat` and attaches it to both framebuffers; false when
    // the driver cannot draw into them.
    bool AttachTargets(GLenum colourFormat);
    // Binds the target with or without its depth buffer.
    void BindTarget(bool depth);
    // Program, GL state, texture and uniforms for a draw of `vertices` under `state` (the box
    // around their positions when known already); false when the driver cannot build the
    // program (the draw is then lost).
    bool Prepare(const DeviceState& state, const uint8_t* vertices, uint32_t vertexCount,
                 uint32_t stride, const PositionBounds* bounds);
    // Draws now: `vertices` (through `indices` of `indexType` when not null) under `state` as
    // GL `mode`.
    void Submit(const DeviceState& state, GLenum mode, const uint8_t* vertices,
                uint32_t vertexCount, uint32_t stride, const void* indices, GLenum indexType,
                uint32_t indexCount);
    // Draws now from the GL copy of the call's static buffer.
    void SubmitStatic(const DrawCall& call, const DeviceState& state, GLenum mode);
    // Copies the draw's vertices or indices into the buffer bound to `target`.
    void Stream(GLenum target, GLuint buffer, const void* data, size_t size);
    // Binds `array` with its attributes laid out for `fvf` and `stride` in `buffer`.
    void SetVertexLayout(VertexArray& array, GLuint buffer, uint32_t fvf, uint32_t stride);
    void SetUniforms(FixedFunctionProgram& p, const DeviceState& state, GfxTexture* texture,
                     const PositionBounds& bounds);
    void BindTexture(GLuint name);

    GlProgramCache programs_;
    GlStateCache glState_;
    GlSamplerCache sampler_;
    GlDrawBatch batch_;
    GLuint fbo_ = 0, colourFbo_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint vbo_ = 0, ibo_ = 0;
    VertexArray streamArray_, staticArray_;  // draws from vbo_ and ibo_; from static buffers
    bool hasS3tc_ = false;
    bool targetHasAlpha_ = false;
    bool forceCpuDxt_ = false;
    PresentScale scale_ = PresentScale::Fit;
    GlPresentTarget target_;
    std::vector<uint16_t> safeIndices_;
    // The box around each static buffer's positions, by GL buffer name.
    std::unordered_map<GLuint, PositionBounds> staticBounds_;
    std::vector<float> lightScratch_;
    // What GL holds, so that only changes are sent.
    GLuint boundFbo_ = 0;  // 0: the window
    GLuint currentProgram_ = 0;
    GLuint boundTexture_ = 0;
    GLuint boundVao_ = 0;
    float clearColour_[3] = {-1, -1, -1};
    double clearDepth_ = -1;
    uint64_t glDrawCount_ = 0;
};
