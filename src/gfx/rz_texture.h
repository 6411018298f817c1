#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/device_types.h"

class GfxDevice;
class GfxTexture;

// The library loader of model materials: reads a BMP with the library's reader, converts it to
// the layout of `format` (A4R4G4B4, R5G6B5, R3G3B2, else A8R8G8B8), applies the alpha rule of
// alphaMode (1 constant alphaValue, 0 brightness, other colour key), fills a system-memory
// texture and uploads it to a new device texture in *outTexture. Returns (width << 16) | height,
// or 0 with the reason on standard output and *outTexture null.
uint32_t RZ_CreateTextureFromFile(GfxDevice* device, const std::string& sjisFileName,
                                  float alphaValue, GfxTexture** outTexture, PixelFormat format,
                                  uint32_t levels, int alphaMode, uint32_t colourKey);

// Size of the path buffer of the open-file dialog.
constexpr size_t kTexturePathSize = 260;

// Lets the user pick an image file for a texture that cannot be found: true when one was
// chosen, its path (Shift-JIS) then stands in pathBuffer (kTexturePathSize bytes).
bool RZ_OpenFileDlgForTexture(char* pathBuffer);
