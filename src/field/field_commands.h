#pragma once
#include <cstdint>

struct CommandTable;

// The field script's "f" commands: conversations in the three talk windows, the choice list,
// script and field changes, characters on the field, encounters, and those the game adds (the
// enemies of the next battles, the party restored, the save screen, the goods and weapons the
// party carries). Read like a "c" command: the number, one blank, the arguments. Numbers outside
// the table do nothing.
extern const CommandTable kFieldCommands;

// The `what` selectors of f8 on the field's choice list.
enum class ChoiceListOp : int32_t {
    Open = 0,          // messageOpen = a; the action timer holds the player back
    Place = 1,         // x = a, y = b
    AtCharacter = 2,   // at character a's place on the screen
    Layout = 3,        // sized for its entries
    ReadCursor = 4,    // iv[0] = the cursor
    BelowWindow0 = 5,  // under talk window 0, 16 pixels in
    Clear = 6,
};

// The action timer's value after a conversation or a list opened: the player waits 208 ms
// before the next action.
constexpr int32_t kActionHoldBack = -128;
