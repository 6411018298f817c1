#pragma once
#include <cstdint>

// The keys of the screens that choose from a list over the field or before a game (the save
// screen, the title menu). Each call is one frame: `timer` counts the frame time up (to
// kActionTimerCap); from kActionDelayMs on, Shift, Ctrl, Up and Down are read into their key
// cells and the call returns true. A key that went down since the last read is kKeyPressed, so a
// key still held from the screen before does not act here.
bool ReadMenuKeys(int32_t& timer);

// The timer after a key that chooses, goes back or turns a page: the keys rest a moment longer
// than the action delay.
constexpr int32_t kMenuKeyHoldBack = -128;

// What a page of lines was asked this frame (ReadPageKeys).
struct PageKeys {
    int32_t step = 0;  // Up -1, Down +1
    int32_t side = 0;  // Left -1, Right +1
    bool choose = false;
    bool back = false;
};

// One frame of a page's keys (the menu screen's pages, the settings screen): ReadMenuKeys with
// `timer`, then Shift, Ctrl, Left and Right count when fresh and hold the keys back for a moment;
// Up and Down repeat as the list's cursor does. False while the action delay holds them back.
bool ReadPageKeys(PageKeys& keys, int32_t& timer);
