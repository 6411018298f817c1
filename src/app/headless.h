#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/input_timeline.h"
#include "app/shell.h"
#include "base/null_host.h"

struct HeadlessPlan {
    uint64_t frames = 600;  // frames to run before the window is closed
    uint32_t frameMs = 17;  // what every frame takes on the virtual clock (unless `input` says)
    InputTimeline input;
    std::map<uint64_t, std::vector<std::string>> screenshots;  // frame -> PNG paths
    std::map<uint64_t, std::vector<std::string>> dumps;        // frame -> JSON paths
    std::map<uint64_t, std::vector<int32_t>> saves;            // frame -> save slots (0-7)
    bool drawOnlyCaptured = true;  // frames without a screenshot skip their clears and draws
};

// Drives a headless run: advances the virtual clock by each frame's length, plays the key timeline
// (key states plus the key-down messages a keyboard would send, and the close button), takes
// screenshots and state dumps at the end of the frames asked for, and closes the window without
// asking after the last frame.
class HeadlessDriver : public FrameObserver {
public:
    HeadlessDriver(VirtualClock& clock, ScriptedKeys& keys, HeadlessPlan plan);
    void BeforeFrame() override;
    void AfterFrame() override;
    bool Failed() const { return failed_; }

private:
    uint32_t FrameMs(uint64_t frame) const;

    VirtualClock& clock_;
    ScriptedKeys& keys_;
    HeadlessPlan plan_;
    size_t nextEvent_ = 0;
    bool closing_ = false;
    bool failed_ = false;
};

// Writes the current picture as PNG; false (with a line on stderr) when there is none.
bool SaveScreenshot(const std::string& nativePath);

// "FRAME:FILE" -> frame and file; false when malformed.
bool ParseFrameFile(const std::string& text, uint64_t& frame, std::string& file);
