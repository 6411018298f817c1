#pragma once
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/device_types.h"

class GfxTexture;

// How one of the original API's pixel formats goes to GL: the layouts are the original's
// little-endian words (A8R8G8B8 is the bytes B, G, R, A), which GL's packed BGRA types read as
// they are; channels a format lacks come from the swizzle.
struct GlPixelFormat {
    GLint internalFormat = 0;
    GLenum format = 0;  // unused for compressed formats
    GLenum type = 0;
    GLint swizzle[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    bool compressed = false;
};

// False for formats this backend does not know.
bool GlFormatFor(PixelFormat format, GlPixelFormat& out);

// Decodes one S3TC level (DXT1 to DXT5) into A8R8G8B8 words, rows top to bottom. The premultiplied
// DXT2/DXT4 decode like DXT3/DXT5. False when the data is shorter than the level needs.
bool DecodeDxt(PixelFormat format, const uint8_t* data, size_t size, uint32_t width,
               uint32_t height, std::vector<uint32_t>& argb);

// Specifies every level of `texture` on the texture bound to GL_TEXTURE_2D. S3TC levels go up
// compressed when `s3tc` is true, otherwise decoded on the CPU.
void UploadTextureLevels(const GfxTexture& texture, bool s3tc);
