#pragma once
#include <cstdint>
#include <string>

#include "ui/slot_list.h"

// The save screen, which the field command f14 opens over the field: the eight slots with what
// each holds. Up and Down choose a slot, Shift writes the game into it (over what it held) and
// says in the help strip how that went, Ctrl closes the screen. While it is open the field is
// drawn under it but takes no keys, moves no camera and runs no script; the script goes on behind
// f14 once the screen has closed. The screen is no part of the game: a game saved from it is the
// field as it stands underneath, so a loaded game goes on as the field does after the screen.

struct SaveScreen {
    bool open = false;
    SlotList list;
};
extern SaveScreen g_SaveScreen;

// What writes the game into a slot (0-7); false with the reason when nothing was written. The
// game flow installs it with the field's first frame (the field cannot reach the game flow);
// null: nothing can be written.
extern bool (*g_WriteGameToSlot)(int32_t slot, std::string& reason);

// Lists the slots as they are on disk, with the cursor on the first.
void OpenSaveScreen();
// Closed and emptied (the world reset and tests).
void CloseSaveScreen();
// The screen's keys for one frame, in place of the field's.
void SaveScreenInput();
// The screen over the field drawn this frame: the field dimmed, the help strip and the slots.
void DrawSaveScreen();
