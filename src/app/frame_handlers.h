#pragma once
#include <string_view>

#include "base/frame.h"

// The frame handlers and hooks the title, the field, the battle, the menu screen and the camera
// install,
// by name: the state dump writes them and a saved game reads them back. (The battle's phases
// are named in its own dump section.)

// "none" for null, "other" for a handler this list does not know.
const char* HandlerName(FrameProc proc);
// The handler of that name; null for "none" and for names this list does not know.
FrameProc HandlerByName(std::string_view name);
