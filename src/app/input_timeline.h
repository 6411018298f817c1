#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A key timeline for headless runs and recordings. One entry a line; '#' starts a comment;
// words in any case:
//
//   <frame> <key> <down|up>     "120 shift down": the key goes down before frame 120 runs
//   <frame> close               the window's close button, before that frame runs
//   ask-before-quit             quitting with unsaved progress asks first, as in interactive play
//
// Frames count from 0; the events of frame F apply before frame F runs, in the order given.
// Keys: up, down, left, right, shift, ctrl, return, backspace, v, escape.

// The "key" of a close event: the window's close button.
constexpr int kCloseButton = -1;

struct KeyEvent {
    uint64_t frame = 0;
    int virtualKey = 0;  // or kCloseButton
    bool down = false;
};

struct InputTimeline {
    std::vector<KeyEvent> events;  // sorted by frame, in file order within a frame
    bool askBeforeQuitting = false;
};

// The name used in timelines for a virtual-key code; empty for keys the game does not read.
const char* KeyName(int virtualKey);
int KeyFromName(const std::string& name);  // 0 when unknown
// The keys a timeline can hold, in a fixed order.
const std::vector<int>& TimelineKeys();

// False with a message naming the line when the text is malformed.
bool ParseInputTimeline(const std::string& text, InputTimeline& out, std::string& error);
// One event as its line ("12 up down", "40 close").
std::string FormatKeyEvent(const KeyEvent& e);
