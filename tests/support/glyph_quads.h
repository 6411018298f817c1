#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/recording_backend.h"
#include "gfx/texture.h"

// Reads the glyph quads back out of recorded font draws.
struct RecordedVertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};

struct RecordedQuad {
    RecordedVertex tl, br;  // top-left and bottom-right corners
    uint32_t colour;
};

inline std::vector<RecordedQuad> QuadsOf(const RecordingBackend& rec,
                                         const struct RecordingBackend::Draw& d) {
    std::vector<RecordedQuad> quads;
    for (uint32_t i = 0; i + 5 < d.call.vertexCount; i += 6) {
        const auto& tl = rec.Vertex<RecordedVertex>(d, i);
        quads.push_back({tl, rec.Vertex<RecordedVertex>(d, i + 2), tl.diffuse});
    }
    return quads;
}

// The characters a draw shows, read from the first two texels of each quad in the atlas (see
// FakeGlyphRasterizer); two-byte characters come back as two bytes. Only for unclipped quads.
inline std::string TextOf(const RecordingBackend& rec, const struct RecordingBackend::Draw& d) {
    std::string text;
    GfxTexture* atlas = d.state.texture;
    if (!atlas) return text;
    const auto& px = atlas->LevelData(0);
    uint32_t pitch = atlas->LevelPitch(0), size = atlas->Width();
    for (const RecordedQuad& q : QuadsOf(rec, d)) {
        uint32_t x = uint32_t(q.tl.u * size + 0.5f), y = uint32_t(q.tl.v * size + 0.5f);
        uint8_t low = px[size_t(y) * pitch + x * 4 + 3];
        uint8_t high = px[size_t(y) * pitch + (x + 1) * 4 + 3];
        if (high) text.push_back(char(high));
        text.push_back(char(low));
    }
    return text;
}
