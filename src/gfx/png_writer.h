#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes A8R8G8B8 words (rows top to bottom) as an RGBA PNG file. False when the size does not
// match the pixels or the file cannot be written.
bool WritePng(const std::string& nativePath, const std::vector<uint32_t>& argb, int w, int h);
