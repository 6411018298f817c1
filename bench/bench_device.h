#pragma once
// The device a frame benchmark draws through: over the recording backend (the device's own
// cost) or over the OpenGL backend offscreen, behind a counter of the draws that reach the
// backend. On OpenGL the benchmark also reports the GL draw calls the backend really issued
// (after it merged draws), and each frame ends with glFinish so the rasteriser's work is in it.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "platform/sdl_window.h"

// Passes everything to the backend it wraps and counts the draws that reach it.
class DrawCounter : public IGraphicsBackend {
public:
    explicit DrawCounter(std::unique_ptr<IGraphicsBackend> inner) : inner_(std::move(inner)) {}
    uint64_t draws = 0;

    void Clear(uint32_t flags, uint32_t argb, float z) override { inner_->Clear(flags, argb, z); }
    void BeginScene() override { inner_->BeginScene(); }
    void EndScene() override { inner_->EndScene(); }
    void Present() override { inner_->Present(); }
    void Draw(const DrawCall& call, const DeviceState& state) override {
        ++draws;
        inner_->Draw(call, state);
    }
    void UploadTexture(GfxTexture& texture) override { inner_->UploadTexture(texture); }
    void DestroyTexture(GfxTexture& texture) override { inner_->DestroyTexture(texture); }
    void UploadBuffer(GfxStaticBuffer& buffer) override { inner_->UploadBuffer(buffer); }
    void DestroyBuffer(GfxStaticBuffer& buffer) override { inner_->DestroyBuffer(buffer); }
    bool ReadPixels(std::vector<uint32_t>& argb) override { return inner_->ReadPixels(argb); }

private:
    std::unique_ptr<IGraphicsBackend> inner_;
};

// InitD3D over the chosen backend for one benchmark run; ReleaseD3D when it goes (before the
// GL context it drew with).
class BenchDevice {
public:
    enum Kind { kRecording, kOpenGl };

    // False, with the run marked skipped, when no OpenGL 3.3 context can be made.
    bool Start(benchmark::State& state, Kind kind) {
        std::unique_ptr<IGraphicsBackend> backend;
        if (kind == kRecording) {
            auto recording = std::make_unique<RecordingBackend>();
            recording->keep = false;
            backend = std::move(recording);
        } else {
            WindowOptions o;
            o.offscreen = true;
            std::string error;
            context_ = CreateGlWindow(o, &error);
            if (!context_) {
                state.SkipWithError(("no OpenGL 3.3 context: " + error).c_str());
                return false;
            }
            state.SetLabel(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
            gl_ = context_->backend.get();
            backend = std::move(context_->backend);
        }
        auto counter = std::make_unique<DrawCounter>(std::move(backend));
        counter_ = counter.get();
        InitD3D(std::move(counter));
        return true;
    }
    ~BenchDevice() {
        if (counter_) ReleaseD3D();
    }

    // Waits for the GPU (nothing on the recording backend).
    void Finish() const {
        if (gl_) glFinish();
    }
    // Counting starts here: call it after the frames that upload what later frames reuse.
    void StartCounting() {
        counter_->draws = 0;
        glDrawsAtStart_ = gl_ ? gl_->GlDrawCount() : 0;
    }
    // draws_per_frame (device draws reaching the backend) and, on OpenGL, gl_draws_per_frame.
    void Report(benchmark::State& state) const {
        const double frames = double(state.iterations());
        state.counters["draws_per_frame"] = double(counter_->draws) / frames;
        if (gl_)
            state.counters["gl_draws_per_frame"] =
                double(gl_->GlDrawCount() - glDrawsAtStart_) / frames;
    }

private:
    std::unique_ptr<SdlGlContext> context_;
    DrawCounter* counter_ = nullptr;
    GlBackend* gl_ = nullptr;
    uint64_t glDrawsAtStart_ = 0;
};
