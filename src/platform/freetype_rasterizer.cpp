#include "platform/freetype_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

struct FreeTypeRasterizer::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    iconv_t decoder = reinterpret_cast<iconv_t>(-1);
};

namespace {

constexpr uint32_t kHiragana_A = 0x3042;  // "あ": a face that has it can draw Japanese
constexpr int kMaxCellHeight = 1024;

struct FontChoice {
    std::string file;
    int index = 0;
    bool japanese = false;
};

// The first face that fontconfig offers for the pattern, and whether it covers Japanese.
bool MatchFace(const char* pattern, FontChoice* out) {
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!p) return false;
    FcPatternAddInteger(p, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(p, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    FcPatternDestroy(p);
    if (!match) return false;
    FcChar8* file = nullptr;
    int index = 0;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        out->file = reinterpret_cast<const char*>(file);
        out->index = index;
        FcCharSet* chars = nullptr;
        out->japanese = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                        chars && FcCharSetHasChar(chars, kHiragana_A);
    }
    FcPatternDestroy(match);
    return found;
}

bool FindFace(FontChoice* out) {
    if (!FcInit()) return false;
    // The gothic face the game was made with has a Japanese name; IPAGothic is its free twin.
    static const char* const kQueries[] = {"IPAGothic", ":lang=ja", "sans-serif:lang=ja"};
    FontChoice any;
    for (const char* q : kQueries) {
        FontChoice c;
        if (!MatchFace(q, &c)) continue;
        if (c.japanese) {
            *out = c;
            return true;
        }
        if (any.file.empty()) any = c;
    }
    if (any.file.empty()) return false;
    std::fprintf(stderr, "font: no Japanese face found; using %s, Japanese text may not show\n",
                 any.file.c_str());
    *out = any;
    return true;
}

}  // namespace

FreeTypeRasterizer::FreeTypeRasterizer() : impl_(new Impl) {
    FontChoice c;
    if (!FindFace(&c)) {
        std::fprintf(stderr, "font: no font found; text will not be drawn\n");
        return;
    }
    if (!Open(c.file, c.index))
        std::fprintf(stderr, "font: cannot open %s; text will not be drawn\n", c.file.c_str());
}

FreeTypeRasterizer::FreeTypeRasterizer(const std::string& fontFile, int faceIndex)
    : impl_(new Impl) {
    if (!Open(fontFile, faceIndex))
        std::fprintf(stderr, "font: cannot open %s; text will not be drawn\n", fontFile.c_str());
}

FreeTypeRasterizer::~FreeTypeRasterizer() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
    if (impl_->decoder != reinterpret_cast<iconv_t>(-1)) iconv_close(impl_->decoder);
    delete impl_;
}

bool FreeTypeRasterizer::Open(const std::string& file, int index) {
    if (FT_Init_FreeType(&impl_->library) != 0) {
        impl_->library = nullptr;
        return false;
    }
    if (FT_New_Face(impl_->library, file.c_str(), index, &impl_->face) != 0) {
        impl_->face = nullptr;
        return false;
    }
    FT_Select_Charmap(impl_->face, FT_ENCODING_UNICODE);
    impl_->decoder = iconv_open("UTF-32LE", "CP932");
    if (impl_->decoder == reinterpret_cast<iconv_t>(-1))
        std::fprintf(stderr, "font: no CP932 decoder; only ASCII will be drawn\n");
    fontFile_ = file;
    return true;
}

bool FreeTypeRasterizer::HasFace() const {
    return impl_->face != nullptr;
}

std::string FreeTypeRasterizer::FamilyName() const {
    return impl_->face && impl_->face->family_name ? impl_->face->family_name : "";
}

bool FreeTypeRasterizer::SetCellHeight(int cellHeight) {
    if (!impl_->face || cellHeight <= 0 || cellHeight > kMaxCellHeight) return false;
    if (cellHeight == cellHeight_) return true;
    // The height asked for is the whole cell, ascent and descent together.
    FT_Size_RequestRec req{};
    req.type = FT_SIZE_REQUEST_TYPE_CELL;
    req.height = FT_Long(cellHeight) << 6;
    if (FT_Request_Size(impl_->face, &req) != 0) return false;
    cellHeight_ = cellHeight;
    return true;
}

bool FreeTypeRasterizer::GetMetrics(int cellHeight, FontMetrics* out) {
    if (!out || !SetCellHeight(cellHeight)) return false;
    FT_Face f = impl_->face;
    out->cellHeight = cellHeight;
    double units = double(f->ascender) - double(f->descender);
    out->ascent = units > 0 ? int(std::lround(cellHeight * f->ascender / units))
                            : int(f->size->metrics.ascender >> 6);
    out->ascent = std::clamp(out->ascent, 0, cellHeight);
    // The average width of the face's characters as the face states it; a face that does not
    // say uses the width of "x".
    double scale = units > 0 ? cellHeight / units : 0;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    out->averageWidth = 0;
    if (os2 && os2->xAvgCharWidth > 0)
        out->averageWidth = int(std::lround(os2->xAvgCharWidth * scale));
    if (out->averageWidth <= 0) {
        FT_UInt x = FT_Get_Char_Index(f, 'x');
        if (x && FT_Load_Glyph(f, x, FT_LOAD_DEFAULT) == 0)
            out->averageWidth = int((f->glyph->advance.x + 32) >> 6);
    }
    if (out->averageWidth <= 0) out->averageWidth = std::max(1, cellHeight / 2);
    return true;
}

uint32_t FreeTypeRasterizer::Decode(uint16_t code) {
    if (code < 0x80) return code;
    if (impl_->decoder == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[2];
    size_t inLeft = 0;
    if (code > 0xFF) {
        in[0] = char(code >> 8);
        in[1] = char(code & 0xFF);
        inLeft = 2;
    } else {
        in[0] = char(code);
        inLeft = 1;
    }
    unsigned char out[8] = {};
    char* src = in;
    char* dst = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(impl_->decoder, nullptr, nullptr, nullptr, nullptr);
    size_t r = iconv(impl_->decoder, &src, &inLeft, &dst, &outLeft);
    if (r == size_t(-1) || inLeft != 0 || sizeof out - outLeft < 4) return 0;
    return uint32_t(out[0]) | uint32_t(out[1]) << 8 | uint32_t(out[2]) << 16 |
           uint32_t(out[3]) << 24;
}

bool FreeTypeRasterizer::RasterizeGlyph(uint16_t code, int cellHeight, GlyphBitmap* out) {
    if (!out || !SetCellHeight(cellHeight)) return false;
    FT_Face f = impl_->face;
    uint32_t unicode = Decode(code);
    // A code the code page does not have, or a character the face lacks, shows the face's
    // missing-glyph box.
    FT_UInt index = unicode ? FT_Get_Char_Index(f, unicode) : 0;
    if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_RENDER) != 0) return false;
    FT_GlyphSlot slot = f->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    *out = GlyphBitmap{};
    out->left = slot->bitmap_left;
    out->top = slot->bitmap_top;
    out->advance = int((slot->advance.x + 32) >> 6);
    if (bm.width == 0 || bm.rows == 0 || !bm.buffer) return true;
    out->width = int(bm.width);
    out->height = int(bm.rows);
    out->coverage.assign(size_t(bm.width) * bm.rows, 0);
    for (unsigned row = 0; row < bm.rows; ++row) {
        const unsigned char* src = bm.buffer + std::ptrdiff_t(row) * bm.pitch;
        uint8_t* dst = out->coverage.data() + size_t(row) * bm.width;
        for (unsigned col = 0; col < bm.width; ++col) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                dst[col] = (src[col >> 3] & (0x80 >> (col & 7))) ? 0xFF : 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays > 1)
                dst[col] = uint8_t(src[col] * 255 / (bm.num_grays - 1));
            else
                dst[col] = src[col] ? 0xFF : 0;
        }
    }
    return true;
}
