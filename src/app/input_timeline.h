#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A key timeline for headless runs and recordings. One event a line:
//
//   <frame> <key> <down|up>     e.g.  "120 shift down"
//
// Frames count from 0; the events of frame F apply before frame F runs. Keys: up, down, left,
// right, shift, ctrl, return, backspace, v, escape (any case), and the other keyboard keys by
// their names in the settings file (w, z, space, leftshift, ...: base/key_bindings.h), which
// reach the game only through the key bindings of a run with --config. '#' starts a comment.
struct KeyEvent {
    uint64_t frame = 0;
    int virtualKey = 0;
    bool down = false;
};

struct InputTimeline {
    std::vector<KeyEvent> events;  // sorted by frame, in file order within a frame
};

// The name used in timelines for a virtual-key code; empty for a code no key has.
const char* KeyName(int virtualKey);
int KeyFromName(const std::string& name);  // 0 when unknown
// The keys a timeline can hold, in a fixed order.
const std::vector<int>& TimelineKeys();

// False with a message naming the line when the text is malformed.
bool ParseInputTimeline(const std::string& text, InputTimeline& out, std::string& error);
std::string FormatKeyEvent(const KeyEvent& e);
