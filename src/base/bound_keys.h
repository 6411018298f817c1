#pragma once
#include <array>
#include <cstdint>

#include "base/host.h"
#include "base/key_bindings.h"

// The key states the game polls, made from the keyboard's and the gamepads' through the key
// bindings: a game key is down while one of its keyboard keys or its pad button is, and the four
// arrows also while the left stick is pushed their way. A code that is no game key's (Escape) is
// the keyboard's own. Interactive play puts it between the window and the game; a headless run
// with a settings file between the key timeline and the game.
class BoundKeys : public IKeySource {
public:
    IKeySource* keyboard = nullptr;  // key states by keyboard key (base/key_bindings.h)
    IGamepad* pad = nullptr;
    bool padOn = true;
    KeyBindings bindings = DefaultKeyBindings();

    int16_t GetKeyState(int virtualKey) override;
};

// The program's one: what main and the settings screen set.
extern BoundKeys g_BoundKeys;

// Waits for a key or button to go down: each call compares the states with the call before and
// gives the first keyboard key (lowest code: Shift before LeftShift) or pad button that went
// down since, or nothing. A key already down when the capture starts counts only once it has
// been let go and pressed again; Escape and keys without a name are never taken.
class KeyCapture {
public:
    // Takes the states as they are now, so that only a later press counts.
    void Start(IKeySource* keyboard, IGamepad* pad);
    // The key pressed since the last call, 0 none.
    int NextKey(IKeySource* keyboard);
    // The button pressed since the last call, kNone none.
    PadButton NextButton(IGamepad* pad);

private:
    std::array<bool, 256> keys_{};
    std::array<bool, kPadButtonCount> buttons_{};
};
