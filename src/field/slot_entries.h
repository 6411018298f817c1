#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/slot_list.h"

// The save slots on disk as the slot list shows them (the save screen; the title menu's Load):
// a filled slot by its field, the date it was saved, its leader with his points and the time
// played (h:mm:ss); an unreadable one with the reason; an empty one as empty.
std::vector<SlotListEntry> SaveSlotEntries();

// Play time as "h:mm:ss".
std::string PlayTimeText(uint64_t ms);
