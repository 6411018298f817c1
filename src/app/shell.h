#pragma once
#include <cstdint>
#include <memory>

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

// Start-up once the window exists: graphics (taking the backend), sound, the frame clock, the
// hidden cursor, the text rectangle and a first clear. False after showing the failure box.
bool StartShell(std::unique_ptr<IGraphicsBackend> backend);
// Runs frames until the quit message; returns the exit code (1 after an orderly end).
int RunFrameLoop(FrameObserver* observer);
// One frame as the loop runs it (measure, clear, scene, present, music, pacing).
void RunOneFrame();
// The window procedure.
void MainWndProc(const Msg& msg);
// Ends the game on Escape: world objects go, then the window is asked to close.
void QuitGame(uint32_t key);
// Whether the display paces the frames (vsync): then the frame loop does not sleep out the rest
// of a frame's 17 ms, unless the last frame came round in less than half of them (a hidden
// window). Off by default, and in headless runs.
void SetFramesPacedByDisplay(bool paced);
// Frames run since start-up.
uint64_t FramesRun();
// Frame count and clock words back to zero (start-up and tests).
void ResetShell();
