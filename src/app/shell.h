#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/frame.h"
#include "base/message_queue.h"
#include "gfx/backend.h"

// What a run adds around each frame: headless input, screenshots, state dumps, frame limits.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // Once before each frame, while the queue is empty: may set keys and post messages, which
    // are handled before the frame runs.
    virtual void BeforeFrame() {}
    // After the frame was presented.
    virtual void AfterFrame() {}
};

// Several observers, each called in the order added.
class FrameObservers : public FrameObserver {
public:
    void Add(FrameObserver* observer) { list_.push_back(observer); }
    void BeforeFrame() override {
        for (FrameObserver* o : list_) o->BeforeFrame();
    }
    void AfterFrame() override {
        for (FrameObserver* o : list_) o->AfterFrame();
    }

private:
    std::vector<FrameObserver*> list_;
};

// Start-up once the window exists: graphics (taking the backend), sound, the frame clock, the
// hidden cursor, the text rectangle and a first clear. False after showing the failure box.
bool StartShell(std::unique_ptr<IGraphicsBackend> backend);
// Runs frames until the quit message; returns the exit code (0 after an orderly end).
int RunFrameLoop(FrameObserver* observer);
// One frame as the loop runs it (measure, clear, scene, present, music, pacing).
void RunOneFrame();
// The window procedure.
void MainWndProc(const Msg& msg);
// Escape's key-down message (`flags` its lParam): ends the game (world objects go, then the
// window closes), or asks first when there is unsaved progress (app/quit_box.h); a fresh Escape
// while the box asks takes it back.
void QuitGame(uint32_t key, uint32_t flags = 0);
// Whether the display paces the frames (vsync): then the frame loop does not sleep out the rest
// of a frame's 17 ms, unless the last frame came round in less than half of them (a hidden
// window). Off by default, and in headless runs.
void SetFramesPacedByDisplay(bool paced);
// Frames run since start-up.
uint64_t FramesRun();
// Frame count and clock words back to zero (start-up and tests).
void ResetShell();
