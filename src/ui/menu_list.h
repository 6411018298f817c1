#pragma once
#include <cstdint>
#include <string_view>

#include "world/data_tables.h"

// A list of up to 32 entries with a highlighted cursor: the field's choice list, the menu
// screen's cursor and the battle's command, technique and target menus.

constexpr int32_t kListEntryCount = 32;
constexpr int32_t kListTextSize = 24;  // 23 bytes and the NUL

struct MenuListEntry {
    char text[kListTextSize];  // empty: the entry is unused
    int32_t value;
};

struct MenuList {
    MenuListEntry entries[kListEntryCount] = {};
    int32_t x = 0, y = 0;
    int32_t w = 0, h = 0;
    int32_t open = 0;    // nonzero while the list is shown (the field's messageOpen)
    int32_t first = 0;   // first entry that LayoutList measures
    int32_t cursor = 0;  // the highlighted entry
    int32_t page = 0;    // page number of the paged drawing
};

// Counts given to the operations below are used as at most 32 (and at least 0).

// Every entry empty with value 0; first and cursor 0.
void ClearList(MenuList& list);
// Puts text (cut to 23 bytes) and value into the first empty entry; with all 32 in use, says
// "List over!!" and adds nothing.
void AddListEntry(MenuList& list, std::string_view text, int32_t value);
// Clears, then entry i = names[i] with value 0.
void FillList(MenuList& list, const char (*names)[kTableNameSize], int32_t count);
// Clears, then entry i = the name of record numbers[i] of `table` with value = the number the
// record shows beside it. (The battle passes the technique table its menu is on.)
void FillTechniqueList(MenuList& list, const TechniqueTable& table, const uint8_t* numbers,
                       int32_t count);
// The same names, with value = numbers[i].
void FillTechniqueNumbers(MenuList& list, const TechniqueTable& table, const uint8_t* numbers,
                          int32_t count);
// Size for the entries first .. first + count - 1: 9 pixels a byte of the longest text (at least
// one byte) plus 8 wide, 20 pixels a non-empty entry plus 4 high.
void LayoutList(MenuList& list, int32_t count);
// Moves the cursor to the next non-empty entry among 0 .. count - 1 in the direction's sense
// (forward for direction >= 0), wrapping round once; stays when there is none.
void MoveCursor(MenuList& list, int32_t direction, int32_t count);
// Up or Down pressed or held: -1 or 1 (Up first); it plays sound-effect slot 0 and sets
// actionTimer (the field's g_ActionTimer) to -128 on a fresh press, 0 while held, so that a held
// key repeats once the caller's 80 ms gate opens again. 0, and nothing else, when neither is. The
// callers update the key cells.
int32_t ListArrowStep(int32_t& actionTimer);
// ListArrowStep's step moves the cursor (MoveCursor).
void ListInput(MenuList& list, int32_t count, int32_t& actionTimer);
// The plain box with the cursor bar and the texts of entries 0 .. count - 1.
void DrawList(const MenuList& list, int32_t count);
// The battle's menu box, sliding in from the left edge over steps 1 to 4 (the box grows with
// step / 4); above the box the menu picture, or "PAGE:%3d" when paged; texts from step 2 on,
// with each non-zero value beside its entry when paged.
void DrawPagedList(const MenuList& list, int32_t step, int32_t count, int32_t paged);
