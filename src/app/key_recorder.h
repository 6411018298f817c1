#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/shell.h"
#include "base/host.h"

// Writes an interactive game as a key timeline (app/input_timeline.h) that a headless run
// replays exactly: the seed, the clock at the start, whether quitting asked, each frame's length
// as the clock measured it (where it changes, up to 16 a line), the keys as the window reported
// them (presses shorter than a frame included), the close button, the answers given to questions
// (Dialogs() passes the boxes on to the host's), and at the end the frames run.
class KeyRecorder : public FrameObserver, private IDialogs {
public:
    // Before the game starts: false (with errno set) when the file cannot be created.
    bool Open(const std::string& nativePath);
    // Once the shell has started (the clock is read): the lines a replay starts from.
    void Start(uint32_t seed);
    ~KeyRecorder() override;
    void BeforeFrame() override;
    void AfterFrame() override;
    // Dialogs to install in the host while recording: they show what `shown` shows.
    IDialogs* Dialogs(IDialogs* shown) {
        shown_ = shown;
        return this;
    }

private:
    int MessageBox(const std::string& caption, const std::string& text, uint32_t flags) override;
    bool OpenImageFile(std::string& path) override;
    void Write(const std::string& line);
    void WriteLengths();
    static constexpr size_t kLengthsPerLine = 16;
    FILE* file_ = nullptr;
    IDialogs* shown_ = nullptr;
    std::map<int, bool> down_;
    std::optional<uint32_t> written_;  // the last frame length written
    std::vector<uint32_t> lengths_;    // lengths not written yet, of the frames from lengthsFrom_
    uint64_t lengthsFrom_ = 0;
};
