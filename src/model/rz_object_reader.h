#pragma once
#include <cstddef>
#include <cstdint>

class GfxDevice;
class RZ_Model;

constexpr size_t kRzHeaderSize = 30;

// True when the 30-byte header names the ASCII variant: "RZ Object format V%d.%d %s" with the
// word exactly "ASCII". Anything else (also "ascii") is the binary variant.
bool IsRzAsciiHeader(const uint8_t* data, size_t size);

// Fills the model from the bytes of an RZ object file. The model is reset first. A file that
// breaks the model's limits, refers to things it does not define or ends early is refused:
// false, RZ_LastError code 3 with "<fileName>を読込めません！" and the reason in its detail,
// and the model is reset again. Material textures load through LoadMaterialTexture.
bool ReadRzObject(RZ_Model& model, const uint8_t* data, size_t size, GfxDevice* device,
                  void* ownerWindow, const char* fileName);
