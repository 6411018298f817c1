#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The save slots as a list to choose from, which the save screen and the title menu's Load
// show: the help strip with a message, then one box a slot (the chosen one highlighted) with
// its number, a heading, a note at the right and a line of detail. The caller gives every text
// in Shift-JIS and acts on what the keys choose.

enum class SlotLook : int32_t { kEmpty, kFilled, kUnreadable };

struct SlotListEntry {
    SlotLook look = SlotLook::kEmpty;
    std::string heading;  // where the game stands; "empty"; "cannot be read"
    std::string note;     // at the right of the heading: when it was saved
    std::string detail;   // who leads and how long the game was played; why it cannot be read
};

struct SlotList {
    std::vector<SlotListEntry> slots;
    int32_t cursor = 0;
    std::string message;  // in the help strip
};

enum class SlotListKey { kNone, kChoose, kBack };

// How a slot (0-7) is named on screen: "No.1" .. "No.8".
std::string SlotNumber(int32_t slot);

// One frame of the list's keys (ReadMenuKeys with `timer`): Up and Down move the cursor round
// the slots, a fresh Shift chooses the slot under it, a fresh Ctrl goes back; choosing and going
// back hold the keys back for a moment, as a fresh arrow press does.
SlotListKey SlotListInput(SlotList& list, int32_t& timer);
// The help strip and the boxes, over whatever is drawn already.
void DrawSlotList(const SlotList& list);
