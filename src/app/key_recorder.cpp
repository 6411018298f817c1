#include "app/key_recorder.h"

#include "app/input_timeline.h"
#include "base/host.h"

bool KeyRecorder::Open(const std::string& nativePath) {
    file_ = std::fopen(nativePath.c_str(), "w");
    if (file_) std::fputs("# GH02 key timeline: <frame> <key> <down|up>\n", file_);
    return file_ != nullptr;
}

KeyRecorder::~KeyRecorder() {
    if (file_) std::fclose(file_);
}

void KeyRecorder::BeforeFrame() {
    if (!file_ || !g_Host.keys) return;
    for (int vk : TimelineKeys()) {
        bool down = (g_Host.keys->GetKeyState(vk) & 0x80) != 0;
        if (down == down_[vk]) continue;
        down_[vk] = down;
        std::fprintf(file_, "%s\n", FormatKeyEvent({FramesRun(), vk, down}).c_str());
    }
    std::fflush(file_);
}
