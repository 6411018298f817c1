#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A key timeline for headless runs, and what `--record` writes of an interactive game so that a
// headless run replays it exactly. One entry a line; '#' starts a comment; words in any case:
//
//   <frame> <key> <down|up>     "120 shift down": the key goes down before frame 120 runs
//   <frame> close               the window's close button, before that frame runs
//   <frame> frame-ms <ms>...    that frame and the ones after it take these ms on the clock, the
//                               frames after the last the last (until the next such line)
//   <frame> answer <yes|no>     the answer to the next question a message box asks
//   seed <n>                    the seed every game is started with
//   clock <ms>                  where the clock stands when the game starts
//   frames <n>                  frames to run (the recorded game's length)
//   ask-before-quit             quitting with unsaved progress asks first, as it did
//
// Frames count from 0; the events of frame F apply before frame F runs. Keys: up, down, left,
// right, shift, ctrl, return, backspace, v, escape (any case), and the other keyboard keys by
// their names in the settings file (w, z, space, leftshift, ...: base/key_bindings.h), which
// reach the game only through the key bindings of a run with --config. '#' starts a comment.

// The "key" of a close event: the window's close button.
constexpr int kCloseButton = -1;

struct KeyEvent {
    uint64_t frame = 0;
    int virtualKey = 0;  // or kCloseButton
    bool down = false;
};

struct InputTimeline {
    std::vector<KeyEvent> events;          // sorted by frame, in file order within a frame
    std::map<uint64_t, uint32_t> frameMs;  // frame -> what it and the frames after it take
    std::vector<int> answers;              // IDYES or IDNO, for the questions in turn
    std::optional<uint32_t> seed;
    std::optional<uint32_t> clockStart;
    std::optional<uint64_t> frames;
    bool askBeforeQuitting = false;
};

// The name used in timelines for a virtual-key code; empty for a code no key has.
const char* KeyName(int virtualKey);
int KeyFromName(const std::string& name);  // 0 when unknown
// The keys a timeline can hold, in a fixed order.
const std::vector<int>& TimelineKeys();

// False with a message naming the line when the text is malformed.
bool ParseInputTimeline(const std::string& text, InputTimeline& out, std::string& error);
// A question's answer as its line ("118 answer yes").
std::string FormatAnswer(uint64_t frame, int answer);
// One event as its line ("12 up down", "40 close").
std::string FormatKeyEvent(const KeyEvent& e);
