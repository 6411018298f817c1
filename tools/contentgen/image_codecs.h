#pragma once
#include <string>

#include "raster.h"

// Image files as the engine's readers take them. BMP rows are stored bottom first, padded to
// four bytes, with the pixel data right behind the headers (or the palette): the engine's own
// material reader ignores the data offset, so nothing else may stand there. Widths that are a
// multiple of 4 also keep 24-bit rows free of padding.

// 24-bit BMP (alpha dropped).
std::string EncodeBmp24(const Image& img);
// 8-bit BMP with a full 256-entry palette chosen from the picture (exact when it has at most
// 256 colours, else a median cut).
std::string EncodeBmp8(const Image& img);
// Uncompressed DDS, A8R8G8B8 with its alpha, one level.
std::string EncodeDdsArgb(const Image& img);
