#pragma once
#include <cstddef>
#include <cstdint>

#include "gfx/device_types.h"
#include "gfx/rz_texture.h"

class GfxDevice;
class GfxTexture;
class RZ_Model;

// The image side of model materials: the library loader that turns an image file into a texture,
// and the open-file dialog for a texture that cannot be found. The engine's own are used unless
// a test plugs in others.

// Returns (width << 16) | height on success and 0 on failure; the texture goes to *outTexture.
using MaterialTextureCreateFn = uint32_t (*)(GfxDevice* device, const char* fileName,
                                             float alphaValue, GfxTexture** outTexture,
                                             PixelFormat format, uint32_t levels, int32_t alphaMode,
                                             uint32_t colourKey);
// Lets the user pick an image; true with its path in pathBuffer (kTexturePathSize bytes).
using TextureFileDialogFn = bool (*)(void* ownerWindow, char* pathBuffer);

// Null puts back the engine's own loader or dialog.
void SetMaterialTextureLoader(MaterialTextureCreateFn create, TextureFileDialogFn dialog);

// Loads the texture of materials[index] unless that entry already has one: first the file's
// last path component in the model's directory, then fileName as given, then (after a Yes to the
// question box) whatever the user picks. A texture that cannot be loaded leaves the entry
// without texture.
void LoadMaterialTexture(RZ_Model& model, GfxDevice* device, const char* fileName, int index,
                         void* ownerWindow);
