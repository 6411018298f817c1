#include "app/headless.h"

#include <cstdio>
#include <iterator>
#include <vector>

#include "app/save_game.h"
#include "app/state_dump.h"
#include "base/message_queue.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/png_writer.h"

HeadlessDriver::HeadlessDriver(VirtualClock& clock, ScriptedKeys& keys, HeadlessPlan plan)
    : clock_(clock), keys_(keys), plan_(std::move(plan)) {}

void HeadlessDriver::BeforeFrame() {
    uint64_t frame = FramesRun();
    // Only the frames that are captured are drawn; the others run their logic and keep the
    // device's state and textures up to date, so a captured picture is the same either way.
    if (plan_.drawOnlyCaptured && g_pd3dDevice)
        g_pd3dDevice->SetDrawing(plan_.screenshots.count(frame) != 0);
    if (closing_) return;
    clock_.Advance(FrameMs(frame));
    const auto& events = plan_.input.events;
    while (nextEvent_ < events.size() && events[nextEvent_].frame <= frame) {
        const KeyEvent& e = events[nextEvent_++];
        if (e.virtualKey == kCloseButton) {
            g_MessageQueue.Post(WM_CLOSE);
            continue;
        }
        bool wasDown = keys_.down[e.virtualKey];
        keys_.down[e.virtualKey] = e.down;
        if (e.down && !wasDown)
            g_MessageQueue.Post(WM_KEYDOWN, static_cast<uint32_t>(e.virtualKey));
    }
}

void HeadlessDriver::AfterFrame() {
    uint64_t frame = FramesRun() - 1;
    if (auto it = plan_.screenshots.find(frame); it != plan_.screenshots.end())
        for (const std::string& path : it->second) failed_ |= !SaveScreenshot(path);
    if (auto it = plan_.dumps.find(frame); it != plan_.dumps.end()) {
        for (const std::string& path : it->second) {
            if (!WriteStateDump(path)) {
                std::fprintf(stderr, "gh02: cannot write state dump %s\n", path.c_str());
                failed_ = true;
            }
        }
    }
    if (auto it = plan_.saves.find(frame); it != plan_.saves.end()) {
        for (int32_t slot : it->second) {
            std::string reason;
            if (!SaveGame(slot, reason)) {
                std::fprintf(stderr, "gh02: cannot save into slot %d at frame %llu: %s\n",
                             int(slot + 1), static_cast<unsigned long long>(frame), reason.c_str());
                failed_ = true;
            }
        }
    }
    if (!closing_ && FramesRun() >= plan_.frames) {
        closing_ = true;
        g_MessageQueue.Post(WM_CLOSE, kCloseAtOnce);
    }
}

uint32_t HeadlessDriver::FrameMs(uint64_t frame) const {
    const auto& lengths = plan_.input.frameMs;
    auto it = lengths.upper_bound(frame);
    return it == lengths.begin() ? plan_.frameMs : std::prev(it)->second;
}

bool SaveScreenshot(const std::string& nativePath) {
    std::vector<uint32_t> pixels;
    if (!g_pD3D || !g_pD3D->ReadPixels(pixels)) {
        std::fprintf(stderr, "gh02: no picture to save in %s (no GL backend)\n",
                     nativePath.c_str());
        return false;
    }
    if (!WritePng(nativePath, pixels, kTargetWidth, kTargetHeight)) {
        std::fprintf(stderr, "gh02: cannot write %s\n", nativePath.c_str());
        return false;
    }
    return true;
}

bool ParseFrameFile(const std::string& text, uint64_t& frame, std::string& file) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return false;
    std::string number = text.substr(0, colon);
    if (number.size() > 18) return false;
    for (char c : number)
        if (c < '0' || c > '9') return false;
    frame = std::stoull(number);
    file = text.substr(colon + 1);
    return true;
}
