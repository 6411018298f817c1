#include "ui/ui_textures.h"

TextureSlot g_UiTextures[kUiTextureCount];
