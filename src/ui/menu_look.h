#pragma once
#include <cstdint>

// The look of the menu screen that other screens share.

// The menu screen's background over the whole screen: grey at the top left and bottom right,
// purple at the other corners (the title menu without a picture shows it too).
void DrawMenuBackground();

// The box of a menu entry, as the menu screen draws its entries and the save screen, the title
// menu and the menu screen's pages their lines: purple under the cursor, green-gold elsewhere,
// and a deep blue for what a first choice marked.
struct TextureSlot;

// The whole picture of a texture slot stretched to w x h at (x, y), opaque white (a white square
// for an empty slot).
void DrawWholePicture(float x, float y, const TextureSlot& slot, float w, float h);
// Text in the menus' shadowed letters, colour 0x00RRGGBB.
constexpr uint32_t kMenuWhite = 0xFFFFFF;
void DrawMenuText(const char* sjis, int x, int y, uint32_t rgb);

enum class EntryBoxLook { kOther, kChosen, kMarked };

void DrawEntryBox(float x, float y, float w, float h, EntryBoxLook look);
