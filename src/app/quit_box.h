#pragma once
#include <nlohmann/json.hpp>

// The question that Escape and the window's close button ask before a game with progress not
// yet saved ends: "end the game?" in a talk box, with Yes and No in a list under it, over a
// still of the last picture. The game waits behind it: no frame of its own runs until the box
// has gone. Up and Down choose, Shift takes the choice, Ctrl (or Escape again) takes it back.

// Whether quitting asks first. Interactive play asks; headless runs ask only when their key
// timeline says so (a recording of a game that asked); the settings may turn it off.
extern bool g_AskBeforeQuitting;

// Quitting now would lose something: asking is on, a game is played (not the title) and it has
// changed since it was last saved or started.
bool QuitNeedsAsking();
// Opens the box (the cursor on No); keys down now count only once released.
void OpenQuitBox();
void CloseQuitBox();
bool QuitBoxOpen();
// One frame while the box is open, in place of the game's: the box's keys, then the still and
// the box. Yes ends the game as Escape would have.
void QuitBoxFrame();
// The box for the state dump: null while closed, else its cursor and entries.
nlohmann::json DumpQuitBox();
