#pragma once
#include <string_view>

class GfxDevice;
class RZ_Model;

// Text Caligari (trueSpace) object files: a run of chunks, of which the first polygon object
// ("PolH") becomes one mesh and the materials ("Mat1") that belong to it its materials. Binary
// files are refused. No skeleton.
bool ImportCob(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow);

// The same on a file already in memory (the model is reset first).
bool ImportCobText(RZ_Model& model, GfxDevice* device, std::string_view text, void* ownerWindow);
