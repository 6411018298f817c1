#pragma once
#include <cstdint>

// The keys of the screens that choose from a list over the field or before a game (the save
// screen, the title menu). Each call is one frame: `timer` counts the frame time up (to
// kActionTimerCap); from kActionDelayMs on, Shift, Ctrl, Up and Down are read into their key
// cells and the call returns true. A key that went down since the last read is kKeyPressed, so a
// key still held from the screen before does not act here.
bool ReadMenuKeys(int32_t& timer);
