#pragma once
#include <string_view>

class RZ_Model;

// mx models: a little-endian binary file of layers, each a run of polygon records of up to 4
// corners. Every corner becomes its own vertex; there are no texture coordinates and no
// skeleton.
bool ImportMx(RZ_Model& model, const char* fileName, void* ownerWindow);

// The same on a file already in memory (the model is reset first).
bool ImportMxBytes(RZ_Model& model, std::string_view bytes);
