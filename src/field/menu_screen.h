#pragma once
#include <cstdint>

// The status menu screen opened from the field: the fighting party's faces and values, and the
// seven main-menu entries with the help text of the one under the cursor.

// Texture slots of the faces of fighters 0, 1, 2.
constexpr int kFaceSlotFirst = 10;
constexpr int kMenuEntriesShown = 7;

void MenuScreenFrame();
// Ctrl closes the screen; Up and Down move the cursor. Waits for the field's action delay.
void MenuInput();
// The whole image of texture slot `slot` stretched to w x h at (x, y), opaque white. A slot
// number outside the table draws nothing.
void DrawPicture(float x, float y, int32_t slot, float w, float h);
// The colour a value shows in: red when hp is 0, white from a sixth of its maximum on, yellow
// below that. As 0x00RRGGBB.
uint32_t PointsColour(int32_t value, int32_t maxValue, int32_t hp);
