#pragma once
#include <cstdint>
#include <string>

class GfxTexture;

// One entry of the global texture table: the screen pictures of the field, faces, battles and
// scripts. width and height come from the file's header, not from the texture.
struct TextureSlot {
    GfxTexture* texture = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
};

constexpr int kTextureSlotCount = 64;
extern TextureSlot g_TextureSlots[kTextureSlotCount];

// Loads fileName (relative to the data directory) into slot on g_pd3dDevice. A missing file
// leaves the slot empty with 0 x 0 and reports nothing.
void LoadTextureSlot(TextureSlot& slot, const char* fileName);
// Device start: every slot forgets its texture pointer (nothing is released).
void ClearTextureSlots();
// Device end: every slot that holds a texture releases it.
void ReleaseTextureSlots();
// Releases the slot's texture and forgets its size and name, as a slot is before anything was
// loaded.
void EmptyTextureSlot(TextureSlot& slot);
// The file last asked for in this slot, as the game named it ("tex\\cur.dds"); empty for a slot
// nothing was loaded into. A saved game loads it again.
const std::string& TextureSlotName(const TextureSlot& slot);
