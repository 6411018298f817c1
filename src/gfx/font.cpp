#include "gfx/font.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gfx/device.h"
#include "gfx/texture.h"

namespace {

// The pre-transformed screen layout (x, y, z, rhw, diffuse, specular, u, v).
struct GlyphVertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
static_assert(sizeof(GlyphVertex) == 32);

constexpr int kDefaultHeight = 16;
constexpr int kMaxHeight = 256;
constexpr uint32_t kPadding = 1;  // empty texels between glyphs, so filtering never bleeds
// A very long text is drawn in several batches so that one draw stays a sane size.
constexpr size_t kMaxQuadsPerDraw = 8192;
// Screen vertices sit half a pixel up and left so that texels land on pixels one to one.
constexpr float kPixelCentre = 0.5f;

struct RsValue {
    RenderState state;
    uint32_t value;
};
struct TssValue {
    TextureStageState state;
    uint32_t value;
};

template <typename E>
constexpr uint32_t V(E e) {
    return static_cast<uint32_t>(e);
}

constexpr RsValue kFontRenderStates[] = {
    {RenderState::AlphaBlendEnable, 1},
    {RenderState::SrcBlend, V(Blend::SrcAlpha)},
    {RenderState::DestBlend, V(Blend::InvSrcAlpha)},
    {RenderState::AlphaTestEnable, 0},
    {RenderState::ZEnable, 0},
    {RenderState::ZWriteEnable, 0},
    {RenderState::CullMode, V(Cull::None)},
    {RenderState::FillMode, V(Fill::Solid)},
};
constexpr TssValue kFontStageStates[] = {
    {TextureStageState::ColorOp, V(TextureOp::Modulate)},
    {TextureStageState::ColorArg1, V(TextureArg::Texture)},
    {TextureStageState::ColorArg2, V(TextureArg::Diffuse)},
    {TextureStageState::AlphaOp, V(TextureOp::Modulate)},
    {TextureStageState::AlphaArg1, V(TextureArg::Texture)},
    {TextureStageState::AlphaArg2, V(TextureArg::Diffuse)},
    {TextureStageState::AddressU, V(TextureAddress::Clamp)},
    {TextureStageState::AddressV, V(TextureAddress::Clamp)},
    {TextureStageState::MagFilter, V(TextureFilter::Point)},
    {TextureStageState::MinFilter, V(TextureFilter::Point)},
    {TextureStageState::MipFilter, V(TextureFilter::None)},
};

int CellHeightFor(int height) {
    if (height == 0) return kDefaultHeight;
    return std::min(std::abs(height), kMaxHeight);
}

}  // namespace

RZ_Font::RZ_Font(GfxDevice* device, IGlyphRasterizer* rasterizer, int height,
                 FontAtlasLimits limits)
    : device_(device), rasterizer_(rasterizer), limits_(limits) {
    int cell = CellHeightFor(height);
    if (limits_.initialSize == 0) limits_.initialSize = 1;
    limits_.maxSize = std::max(limits_.maxSize, limits_.initialSize);
    if (rasterizer_ && rasterizer_->GetMetrics(cell, &metrics_)) {
        metrics_.cellHeight = cell;
        metrics_.ascent = std::clamp(metrics_.ascent, 0, cell);
        metrics_.averageWidth = std::max(metrics_.averageWidth, 0);
        hasFace_ = device_ && CreateAtlas(limits_.initialSize);
    } else {
        metrics_ = FontMetrics{};
        metrics_.cellHeight = cell;
    }
}

RZ_Font::~RZ_Font() {
    if (atlas_) atlas_->Release();
}

void RZ_Font::Release() {
    delete this;
}

bool RZ_Font::CreateAtlas(uint32_t size) {
    GfxTexture* t = nullptr;
    if (device_->CreateTexture(size, size, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &t) != kOk)
        return false;
    if (atlas_) {
        // Keep what is there: the glyphs stay where they are, only the texture grows.
        LockedRect to;
        if (t->LockRect(0, &to) == kOk) {
            const auto& from = atlas_->LevelData(0);
            uint32_t fromPitch = atlas_->LevelPitch(0);
            for (uint32_t y = 0; y < atlasSize_; ++y)
                std::memcpy(static_cast<uint8_t*>(to.bits) + size_t(y) * to.pitch,
                            from.data() + size_t(y) * fromPitch, fromPitch);
            t->UnlockRect(0);
        }
        atlas_->Release();
    }
    atlas_ = t;
    atlasSize_ = size;
    return true;
}

bool RZ_Font::GrowAtlas() {
    if (atlasSize_ >= limits_.maxSize) return false;
    return CreateAtlas(std::min(atlasSize_ * 2, limits_.maxSize));
}

void RZ_Font::EmptyAtlas() {
    glyphs_.clear();
    shelves_.clear();
    shelvesBottom_ = 0;
    ++evictions_;
    LockedRect r;
    if (atlas_->LockRect(0, &r) == kOk) {
        std::memset(r.bits, 0, atlas_->LevelData(0).size());
        atlas_->UnlockRect(0);
    }
}

bool RZ_Font::FindSpace(uint32_t w, uint32_t h, uint32_t* x, uint32_t* y) {
    w += kPadding;
    h += kPadding;
    for (Shelf& s : shelves_) {
        if (s.height >= h && atlasSize_ - s.x >= w) {
            *x = s.x;
            *y = s.y;
            s.x += w;
            return true;
        }
    }
    // A new shelf is at least one line tall, so that small marks do not waste rows.
    if (w > atlasSize_) return false;
    uint32_t room = atlasSize_ - shelvesBottom_;
    uint32_t shelfHeight = std::max<uint32_t>(h, uint32_t(metrics_.cellHeight) + kPadding);
    if (shelfHeight > room) shelfHeight = h;
    if (shelfHeight > room) return false;
    shelves_.push_back({shelvesBottom_, shelfHeight, w});
    *x = 0;
    *y = shelvesBottom_;
    shelvesBottom_ += shelfHeight;
    return true;
}

bool RZ_Font::Place(const GlyphBitmap& b, Glyph& g) {
    uint32_t w = uint32_t(b.width), h = uint32_t(b.height);
    if (w + kPadding > limits_.maxSize || h + kPadding > limits_.maxSize) return false;
    uint32_t x = 0, y = 0;
    while (!FindSpace(w, h, &x, &y)) {
        if (GrowAtlas()) continue;
        // Full at its largest: draw what uses the atlas now, then start it afresh.
        Flush();
        EmptyAtlas();
        if (!FindSpace(w, h, &x, &y)) return false;
        break;
    }
    LockedRect r;
    if (atlas_->LockRect(0, &r) != kOk) return false;
    for (uint32_t row = 0; row < h; ++row) {
        auto* dst = static_cast<uint8_t*>(r.bits) + size_t(y + row) * r.pitch + size_t(x) * 4;
        const uint8_t* src = b.coverage.data() + size_t(row) * w;
        for (uint32_t col = 0; col < w; ++col) {
            // White, with the coverage as alpha (bytes B, G, R, A).
            dst[col * 4 + 0] = dst[col * 4 + 1] = dst[col * 4 + 2] = 0xFF;
            dst[col * 4 + 3] = src[col];
        }
    }
    atlas_->UnlockRect(0);
    g.ax = x;
    g.ay = y;
    g.width = w;
    g.height = h;
    return true;
}

const RZ_Font::Glyph* RZ_Font::FindGlyph(uint16_t code) {
    auto it = glyphs_.find(code);
    if (it != glyphs_.end()) return &it->second;
    GlyphBitmap& b = scratch_;
    b = GlyphBitmap{};
    Glyph g;
    if (rasterizer_->RasterizeGlyph(code, metrics_.cellHeight, &b)) {
        g.left = b.left;
        g.top = b.top;
        g.advance = std::max(b.advance, 0);
        bool ink =
            b.width > 0 && b.height > 0 && b.coverage.size() >= size_t(b.width) * size_t(b.height);
        // A glyph that cannot be placed keeps its advance and draws no ink.
        if (ink && !Place(b, g)) g.width = g.height = 0;
    }
    // Placing may have emptied the atlas (and the cache with it): insert afterwards.
    return &glyphs_.emplace(code, g).first->second;
}

void RZ_Font::AddQuad(double x, double y, const Glyph& g, const TextRect* clip, uint32_t argb) {
    double x0 = x, y0 = y, x1 = x + g.width, y1 = y + g.height;
    double u0 = g.ax, v0 = g.ay, u1 = g.ax + g.width, v1 = g.ay + g.height;
    if (clip) {
        // Cut the quad at the rectangle and its texture coordinates in proportion.
        double cx0 = std::max(x0, double(clip->left)), cx1 = std::min(x1, double(clip->right));
        double cy0 = std::max(y0, double(clip->top)), cy1 = std::min(y1, double(clip->bottom));
        if (cx0 >= cx1 || cy0 >= cy1) return;
        double du = (u1 - u0) / (x1 - x0), dv = (v1 - v0) / (y1 - y0);
        u1 = u0 + (cx1 - x0) * du;
        u0 = u0 + (cx0 - x0) * du;
        v1 = v0 + (cy1 - y0) * dv;
        v0 = v0 + (cy0 - y0) * dv;
        x0 = cx0, x1 = cx1, y0 = cy0, y1 = cy1;
    }
    pending_.push_back({float(x0), float(y0), float(x1), float(y1), float(u0), float(v0), float(u1),
                        float(v1), argb});
    if (pending_.size() >= kMaxQuadsPerDraw) Flush();
}

void RZ_Font::Flush() {
    if (pending_.empty()) return;
    float scale = 1.0f / float(atlasSize_);
    vertexBytes_.resize(pending_.size() * 6 * sizeof(GlyphVertex));
    auto* v = reinterpret_cast<GlyphVertex*>(vertexBytes_.data());
    for (const Quad& q : pending_) {
        float x0 = q.x0 - kPixelCentre, x1 = q.x1 - kPixelCentre;
        float y0 = q.y0 - kPixelCentre, y1 = q.y1 - kPixelCentre;
        float u0 = q.u0 * scale, u1 = q.u1 * scale, v0 = q.v0 * scale, v1 = q.v1 * scale;
        GlyphVertex tl{x0, y0, 0, 1, q.colour, 0, u0, v0}, tr{x1, y0, 0, 1, q.colour, 0, u1, v0};
        GlyphVertex br{x1, y1, 0, 1, q.colour, 0, u1, v1}, bl{x0, y1, 0, 1, q.colour, 0, u0, v1};
        *v++ = tl, *v++ = tr, *v++ = br, *v++ = tl, *v++ = br, *v++ = bl;
    }
    uint32_t triangles = uint32_t(pending_.size() * 2);
    pending_.clear();

    // Own states for the draw; the game's come back afterwards.
    const DeviceState& s = device_->State();
    uint32_t savedRs[std::size(kFontRenderStates)];
    uint32_t savedTss[std::size(kFontStageStates)];
    for (size_t i = 0; i < std::size(kFontRenderStates); ++i) {
        savedRs[i] = s.Rs(kFontRenderStates[i].state);
        device_->SetRenderState(kFontRenderStates[i].state, kFontRenderStates[i].value);
    }
    for (size_t i = 0; i < std::size(kFontStageStates); ++i) {
        savedTss[i] = s.Tss(kFontStageStates[i].state);
        device_->SetTextureStageState(0, kFontStageStates[i].state, kFontStageStates[i].value);
    }
    GfxTexture* savedTexture = s.texture;
    uint32_t savedFvf = s.fvf;
    device_->SetTexture(0, atlas_);
    device_->SetVertexShader(kFvfScreenVertex);

    device_->DrawPrimitiveUP(PrimitiveType::TriangleList, triangles, vertexBytes_.data(),
                             sizeof(GlyphVertex));

    for (size_t i = 0; i < std::size(kFontRenderStates); ++i)
        device_->SetRenderState(kFontRenderStates[i].state, savedRs[i]);
    for (size_t i = 0; i < std::size(kFontStageStates); ++i)
        device_->SetTextureStageState(0, kFontStageStates[i].state, savedTss[i]);
    device_->SetTexture(0, savedTexture);
    // A device that never had a vertex format keeps the font's: there is none to go back to.
    if (savedFvf != 0) device_->SetVertexShader(savedFvf);
}

int RZ_Font::DrawText(const char* sjis, int count, const TextRect* rect, uint32_t format,
                      uint32_t argb) {
    if (!sjis || !rect) return 0;
    size_t length = 0;
    if (count < 0) {
        length = std::strlen(sjis);
    } else {
        const void* end = std::memchr(sjis, 0, size_t(count));
        length = end ? size_t(static_cast<const char*>(end) - sjis) : size_t(count);
    }
    if (length == 0) return 0;
    const auto* text = reinterpret_cast<const uint8_t*>(sjis);
    const TextRect* clip = (format & DT_NOCLIP) ? nullptr : rect;
    const int cell = metrics_.cellHeight;
    const int64_t tab = int64_t(metrics_.averageWidth) * 8;

    int64_t penX = rect->left;
    int64_t lineTop = rect->top;
    int lines = 1;
    for (size_t i = 0; i < length;) {
        size_t n = SjisCharLength(text + i, length - i);
        uint8_t b = text[i];
        i += n;
        if (n == 1) {
            if (b == '\n') {
                penX = rect->left;
                lineTop += cell;
                ++lines;
                continue;
            }
            if (b == '\t' && (format & DT_EXPANDTABS) && tab > 0) {
                penX = rect->left + ((penX - rect->left) / tab + 1) * tab;
                continue;
            }
            // Other control bytes, and a lead byte that lost its trail at the end, show nothing.
            if (b < 0x20 || IsSjisLeadByte(b)) continue;
        }
        if (!hasFace_) continue;
        uint16_t code = n == 2 ? uint16_t(b << 8 | text[i - 1]) : b;
        const Glyph* g = FindGlyph(code);
        if (g->width > 0)
            AddQuad(double(penX + g->left), double(lineTop + metrics_.ascent - g->top), *g, clip,
                    argb);
        penX += g->advance;
    }
    if (hasFace_) Flush();
    return lines * cell;
}
