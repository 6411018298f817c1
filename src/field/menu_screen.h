#pragma once
#include <cstdint>

#include "world/menu_actions.h"

// The status menu screen opened from the field: the fighting party's faces and values, and the
// seven main-menu entries with the help text of the one under the cursor. What choosing an
// entry does is the data set's (world/menu_actions.h); without it Shift does nothing here. The
// pages the entries open are field/menu_pages.h.

constexpr int kMenuEntriesShown = kMenuEntryCount;

void MenuScreenFrame();
// Ctrl closes the screen; Up and Down move the cursor; Shift chooses the entry under it. Waits
// for the field's action delay. While a page or the save screen is open, their keys instead.
void MenuInput();
// The whole image of texture slot `slot` stretched to w x h at (x, y), opaque white. A slot
// number outside the table draws nothing.
void DrawPicture(float x, float y, int32_t slot, float w, float h);
// The colour a value shows in: red when hp is 0, white from a sixth of its maximum on, yellow
// below that. As 0x00RRGGBB.
uint32_t PointsColour(int32_t value, int32_t maxValue, int32_t hp);
