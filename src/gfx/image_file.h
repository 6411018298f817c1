#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class GfxDevice;
class GfxTexture;

// Results of the texture-from-file facility besides kOk and the device's own codes.
constexpr int32_t kErrNotFound = static_cast<int32_t>(0x88760866);
constexpr int32_t kErrInvalidData = static_cast<int32_t>(0x88760B59);

// The texture-from-file facility of the game's screen pictures and meshes: the file's size
// (no rounding to powers of two), a managed texture, no colour key. DDS files keep their format
// and mip levels; BMP, PNG, TGA, JPEG and the other formats stb_image reads become A8R8G8B8
// (X8R8G8B8 when the file has no alpha) with a full mip chain made by box filtering. The file is
// chosen by its content, not its name. On failure *out is null and the result is an error code;
// the reason goes to the log.
int32_t CreateTextureFromFile(GfxDevice* device, const std::string& sjisGamePath, GfxTexture** out);
// The same from bytes in memory (`name` only labels log lines).
int32_t CreateTextureFromMemory(GfxDevice* device, const uint8_t* data, size_t size,
                                GfxTexture** out, const std::string& name = "image");
