#pragma once
#include <cstdio>
#include <map>
#include <string>

#include "app/shell.h"

// Writes the keys of an interactive session as a key timeline, so that a fault found by playing
// becomes a headless test.
class KeyRecorder : public FrameObserver {
public:
    // False when the file cannot be created.
    bool Open(const std::string& nativePath);
    ~KeyRecorder() override;
    void BeforeFrame() override;

private:
    FILE* file_ = nullptr;
    std::map<int, bool> down_;
};
