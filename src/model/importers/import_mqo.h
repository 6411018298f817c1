#pragma once
#include <string_view>

class GfxDevice;
class RZ_Model;

// Metasequoia documents: materials (colour and texture) and objects, each a mesh of its own
// with text or binary ("BVertex") vertices and faces of 2 to 4 corners with optional material
// and texture coordinates. No skeleton.
bool ImportMqo(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow);

// The same on a file already in memory (the model is reset first).
bool ImportMqoText(RZ_Model& model, GfxDevice* device, std::string_view text, void* ownerWindow);
