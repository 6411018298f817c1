#pragma once
#include "gfx/texture_slots.h"

// Interface images: entry 0 "tex\cur.dds", entry 1 "tex\use0.dds"; 2 and 3 stay empty.
constexpr int kUiTextureCount = 4;
extern TextureSlot g_UiTextures[kUiTextureCount];
