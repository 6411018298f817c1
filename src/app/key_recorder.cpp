#include "app/key_recorder.h"

#include <algorithm>

#include "app/input_timeline.h"
#include "app/quit_box.h"
#include "base/frame.h"
#include "base/host.h"
#include "base/message_queue.h"

bool KeyRecorder::Open(const std::string& nativePath) {
    file_ = std::fopen(nativePath.c_str(), "w");
    return file_ != nullptr;
}

void KeyRecorder::Start(uint32_t seed) {
    if (!file_) return;
    std::fputs(
        "# GH02 key timeline, recorded: gh02 --headless --input FILE replays it with the\n"
        "# same data and save folder. <frame> <key> <down|up>, <frame> close,\n"
        "# <frame> frame-ms <ms>; see docs/headless.md.\n",
        file_);
    Write("seed " + std::to_string(seed));
    Write("clock " + std::to_string(g_FrameStart));
    if (g_AskBeforeQuitting) Write("ask-before-quit");
}

KeyRecorder::~KeyRecorder() {
    if (!file_) return;
    WriteLengths();
    // The game ended before this frame ran: a replay needs to reach it.
    std::fprintf(file_, "# the game ended before frame %llu\n",
                 static_cast<unsigned long long>(FramesRun()));
    Write("frames " + std::to_string(FramesRun() + 1));
    std::fclose(file_);
}

int KeyRecorder::MessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
    const int answer = shown_ ? shown_->MessageBox(caption, text, flags) : IDNO;
    if ((flags & MB_YESNO) && file_) {
        Write(FormatAnswer(FramesRun(), answer));
        std::fflush(file_);
    }
    return answer;
}

bool KeyRecorder::OpenImageFile(std::string& path) {
    return shown_ && shown_->OpenImageFile(path);
}

void KeyRecorder::Write(const std::string& line) {
    std::fprintf(file_, "%s\n", line.c_str());
}

void KeyRecorder::BeforeFrame() {
    if (!file_ || !g_Host.keys) return;
    const uint64_t frame = FramesRun();
    const std::vector<int>& keys = TimelineKeys();
    // What the window posted since the last frame, in order: a fresh key-down is written even
    // when the key is up again by now (a tap shorter than a frame still sends its message).
    for (const Msg& m : g_MessageQueue.Pending()) {
        if (m.message == WM_CLOSE) Write(FormatKeyEvent({frame, kCloseButton, true}));
        if (m.message != WM_KEYDOWN || (m.lParam & kKeyWasDown)) continue;
        const int vk = int(m.wParam);
        if (std::find(keys.begin(), keys.end(), vk) == keys.end()) continue;
        if (down_[vk]) Write(FormatKeyEvent({frame, vk, false}));  // let go and pressed again
        Write(FormatKeyEvent({frame, vk, true}));
        down_[vk] = true;
    }
    for (int vk : keys) {
        const bool down = (g_Host.keys->GetKeyState(vk) & 0x80) != 0;
        if (down == down_[vk]) continue;
        down_[vk] = down;
        Write(FormatKeyEvent({frame, vk, down}));
    }
    std::fflush(file_);
}

void KeyRecorder::AfterFrame() {
    if (!file_) return;
    // While the lengths stay as written last, nothing is written: that length goes on.
    if (lengths_.empty() && written_ && g_FrameTime == *written_) return;
    if (lengths_.empty()) lengthsFrom_ = FramesRun() - 1;
    lengths_.push_back(g_FrameTime);
    const size_t n = lengths_.size();
    const bool steady =
        n >= 3 && lengths_[n - 1] == lengths_[n - 2] && lengths_[n - 2] == lengths_[n - 3];
    if (steady || n == kLengthsPerLine) WriteLengths();
}

void KeyRecorder::WriteLengths() {
    // A length repeated at the end is written once: the frames after the line take the last.
    while (lengths_.size() > 1 && lengths_.back() == lengths_[lengths_.size() - 2])
        lengths_.pop_back();
    if (lengths_.empty()) return;
    std::string line = std::to_string(lengthsFrom_) + " frame-ms";
    for (uint32_t ms : lengths_) line += " " + std::to_string(ms);
    Write(line);
    written_ = lengths_.back();
    lengths_.clear();
}
