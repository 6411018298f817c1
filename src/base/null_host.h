#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/host.h"

// A clock that moves only when told: headless runs advance it by the frame length, and nothing
// ever sleeps.
class VirtualClock : public IClock {
public:
    uint32_t now = 0;
    uint64_t sleptMs = 0;  // what the game asked to sleep, for tests of the pacing
    uint32_t lastSleep = 0;
    uint32_t GetTickCount() override { return now; }
    uint32_t TimeGetTime() override { return now; }
    void Sleep(uint32_t ms) override {
        sleptMs += ms;
        lastSleep = ms;
    }
    void Advance(uint32_t ms) { now += ms; }
};

// Key states set by a test or an input timeline.
class ScriptedKeys : public IKeySource {
public:
    std::map<int, bool> down;
    int16_t GetKeyState(int vk) override {
        auto it = down.find(vk);
        return (it != down.end() && it->second) ? int16_t(0x80) : int16_t(0);
    }
};

// Boxes never block (their text is diagnosed on standard error before), a question is answered from
// `answers` while it lasts (a recorded game's answers, IDYES or IDNO), then No, and the file
// dialog is cancelled.
class HeadlessDialogs : public IDialogs {
public:
    bool quiet = false;  // no line for the cancelled file dialog
    std::vector<int> answers;
    size_t answered = 0;
    int MessageBox(const std::string& caption, const std::string& text, uint32_t flags) override;
    bool OpenImageFile(std::string& path) override;
};

class NullWindow : public IWindow {
public:
    bool cursorShown = true;
    bool destroyed = false;
    void PumpEvents(MessageQueue&) override {}
    void ShowCursor(bool show) override { cursorShown = show; }
    void Destroy() override { destroyed = true; }
};
