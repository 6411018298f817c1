#include "platform/gl_texture_upload.h"

#include "gfx/texture.h"

namespace {

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// 5:6:5 to 8-bit channels by bit replication, as the hardware expands them.
void Expand565(uint16_t c, int rgb[3]) {
    int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

uint32_t Argb(int a, const int rgb[3]) {
    return (uint32_t(a) << 24) | (uint32_t(rgb[0]) << 16) | (uint32_t(rgb[1]) << 8) |
           uint32_t(rgb[2]);
}

// The four colours of a colour block; `threeColour` allows DXT1's punch-through mode.
void ColourPalette(const uint8_t* block, bool threeColour, uint32_t palette[4]) {
    uint16_t c0 = Read16(block), c1 = Read16(block + 2);
    int a[3], b[3], m[3], n[3];
    Expand565(c0, a);
    Expand565(c1, b);
    palette[0] = Argb(255, a);
    palette[1] = Argb(255, b);
    if (c0 > c1 || !threeColour) {
        for (int i = 0; i < 3; ++i) {
            m[i] = (2 * a[i] + b[i]) / 3;
            n[i] = (a[i] + 2 * b[i]) / 3;
        }
        palette[2] = Argb(255, m);
        palette[3] = Argb(255, n);
    } else {
        for (int i = 0; i < 3; ++i) m[i] = (a[i] + b[i]) / 2;
        palette[2] = Argb(255, m);
        palette[3] = 0;  // transparent black
    }
}

void AlphaPaletteDxt5(const uint8_t* block, int alpha[8]) {
    int a0 = block[0], a1 = block[1];
    alpha[0] = a0;
    alpha[1] = a1;
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i) alpha[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (int i = 1; i < 5; ++i) alpha[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alpha[6] = 0;
        alpha[7] = 255;
    }
}

}  // namespace

bool GlFormatFor(PixelFormat f, GlPixelFormat& out) {
    out = GlPixelFormat{};
    auto noAlpha = [&out] { out.swizzle[3] = GL_ONE; };
    switch (f) {
        case PixelFormat::A8R8G8B8:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
            break;
        case PixelFormat::X8R8G8B8:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
            noAlpha();
            break;
        case PixelFormat::R8G8B8:
            out = {GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE};
            break;
        case PixelFormat::R5G6B5:
            out = {GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
            break;
        case PixelFormat::X1R5G5B5:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
            noAlpha();
            break;
        case PixelFormat::A1R5G5B5:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
            break;
        case PixelFormat::A4R4G4B4:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
            break;
        case PixelFormat::X4R4G4B4:
            out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
            noAlpha();
            break;
        case PixelFormat::R3G3B2:
            out = {GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE_3_3_2};
            break;
        case PixelFormat::A8:
            // Alpha only: black with that alpha.
            out = {GL_R8, GL_RED, GL_UNSIGNED_BYTE};
            out.swizzle[0] = out.swizzle[1] = out.swizzle[2] = GL_ZERO;
            out.swizzle[3] = GL_RED;
            break;
        case PixelFormat::Dxt1:
            out.internalFormat = GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
            out.compressed = true;
            break;
        case PixelFormat::Dxt2:
        case PixelFormat::Dxt3:
            out.internalFormat = GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
            out.compressed = true;
            break;
        case PixelFormat::Dxt4:
        case PixelFormat::Dxt5:
            out.internalFormat = GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
            out.compressed = true;
            break;
        default:
            return false;
    }
    return true;
}

bool DecodeDxt(PixelFormat f, const uint8_t* data, size_t size, uint32_t width, uint32_t height,
               std::vector<uint32_t>& argb) {
    if (!GfxTexture::IsCompressed(f)) return false;
    const bool dxt1 = f == PixelFormat::Dxt1;
    const bool explicitAlpha = f == PixelFormat::Dxt2 || f == PixelFormat::Dxt3;
    const size_t blockBytes = dxt1 ? 8 : 16;
    const uint32_t bw = (width + 3) / 4, bh = (height + 3) / 4;
    if (!data || size < size_t(bw) * bh * blockBytes) return false;
    argb.assign(size_t(width) * height, 0);
    for (uint32_t by = 0; by < bh; ++by) {
        for (uint32_t bx = 0; bx < bw; ++bx) {
            const uint8_t* block = data + (size_t(by) * bw + bx) * blockBytes;
            const uint8_t* colour = dxt1 ? block : block + 8;
            uint32_t palette[4];
            ColourPalette(colour, dxt1, palette);
            uint32_t indices = Read32(colour + 4);
            int alpha5[8];
            uint64_t alphaBits = 0;
            if (!dxt1 && !explicitAlpha) {
                AlphaPaletteDxt5(block, alpha5);
                for (int i = 0; i < 6; ++i) alphaBits |= uint64_t(block[2 + i]) << (8 * i);
            }
            for (int py = 0; py < 4; ++py) {
                for (int px = 0; px < 4; ++px) {
                    uint32_t x = bx * 4 + px, y = by * 4 + py;
                    if (x >= width || y >= height) continue;
                    int t = py * 4 + px;
                    uint32_t c = palette[(indices >> (2 * t)) & 3];
                    if (explicitAlpha) {
                        int a4 = (block[t / 2] >> ((t & 1) * 4)) & 15;
                        c = (c & 0x00FFFFFF) | (uint32_t(a4 * 17) << 24);
                    } else if (!dxt1) {
                        int a = alpha5[(alphaBits >> (3 * t)) & 7];
                        c = (c & 0x00FFFFFF) | (uint32_t(a) << 24);
                    }
                    argb[size_t(y) * width + x] = c;
                }
            }
        }
    }
    return true;
}

void UploadTextureLevels(const GfxTexture& texture, bool s3tc) {
    GlPixelFormat gf;
    if (!GlFormatFor(texture.Format(), gf)) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    std::vector<uint32_t> decoded;
    const uint32_t levels = texture.GetLevelCount();
    for (uint32_t i = 0; i < levels; ++i) {
        uint32_t w = 0, h = 0;
        texture.GetLevelDesc(i, &w, &h);
        const std::vector<uint8_t>& bytes = texture.LevelData(i);
        const GLint level = static_cast<GLint>(i);
        if (!gf.compressed) {
            glTexImage2D(GL_TEXTURE_2D, level, gf.internalFormat, GLsizei(w), GLsizei(h), 0,
                         gf.format, gf.type, bytes.data());
        } else if (s3tc) {
            glCompressedTexImage2D(GL_TEXTURE_2D, level, GLenum(gf.internalFormat), GLsizei(w),
                                   GLsizei(h), 0, GLsizei(bytes.size()), bytes.data());
        } else {
            DecodeDxt(texture.Format(), bytes.data(), bytes.size(), w, h, decoded);
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, GLsizei(w), GLsizei(h), 0, GL_BGRA,
                         GL_UNSIGNED_BYTE, decoded.data());
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels ? levels - 1 : 0));
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, gf.swizzle);
}
