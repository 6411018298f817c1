#include "app/ui_textures.h"

TextureSlot g_UiTextures[kUiTextureCount];
