#include "prop_recipes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTau = 6.2831853f;
constexpr int kTextureSize = 128;
constexpr int kSwatch = 32;

// Materials of each prop, by index.
enum BarrelMaterial { kStaves, kHoops, kLids };
enum SignpostMaterial { kWood, kPaint, kSignStone };
enum BoulderMaterial { kRock, kMossy };
enum LanternMaterial { kIron, kGlass, kFootStone, kBrass };

V3 Ring(float angle, float radius, float y) {
    return V3{std::sin(angle) * radius, y, std::cos(angle) * radius};
}

// Texture coordinates of a point of a ring laid on a round swatch (lids, cap stones).
void DiscUv(UvRect r, float angle, float (&uv)[2]) {
    uv[0] = (r.u0 + r.u1) / 2 + std::sin(angle) * (r.u1 - r.u0) / 2;
    uv[1] = (r.v0 + r.v1) / 2 - std::cos(angle) * (r.v1 - r.v0) / 2;
}

// Sides, top and bottom of a square frustum standing on y0, flat faces.
void Frustum(PropPart& part, float y0, float y1, float bottomHalf, float topHalf, UvRect uv,
             int material) {
    const V3 inside{0, (y0 + y1) / 2, 0};
    const float b = bottomHalf, t = topHalf;
    // Around the four sides: the viewer outside has the next corner (counter-clockwise seen
    // from above) on the left.
    const float corners[5][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int s = 0; s < 4; ++s) {
        const float* p = corners[s];
        const float* q = corners[s + 1];
        part.Quad({p[0] * t, y1, p[1] * t}, {q[0] * t, y1, q[1] * t}, {q[0] * b, y0, q[1] * b},
                  {p[0] * b, y0, p[1] * b}, uv, material, inside);
    }
    part.Quad({-t, y1, t}, {t, y1, t}, {t, y1, -t}, {-t, y1, -t}, uv, material, inside);
    part.Quad({b, y0, b}, {-b, y0, b}, {-b, y0, -b}, {b, y0, -b}, uv, material, inside);
}

// A four-sided roof: apex above the square base at y0, closed below.
void Pyramid(PropPart& part, float y0, float half, float apex, UvRect uv, int material) {
    const V3 inside{0, y0 + (apex - y0) / 4, 0};
    const V3 top{0, apex, 0};
    const float corners[5][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int s = 0; s < 4; ++s) {
        const float* p = corners[s];
        const float* q = corners[s + 1];
        part.Triangle(top, {q[0] * half, y0, q[1] * half}, {p[0] * half, y0, p[1] * half}, uv,
                      material, inside);
    }
    part.Quad({half, y0, half}, {-half, y0, half}, {-half, y0, -half}, {half, y0, -half}, uv,
              material, inside);
}

// Barrel: rings of shared points (the engine smooths across them), hoops near both ends,
// lids of their own points so the rim stays sharp.
PropModel Barrel() {
    constexpr int kSegments = 12;
    constexpr float kHeight = 190, kRadius = 56;
    const float ringY[6] = {0, 0.08f, 0.3f, 0.7f, 0.92f, 1};
    const float ringR[6] = {1, 1.05f, 1.13f, 1.13f, 1.05f, 1};
    PropModel m;
    m.materials = {
        {"staves", 150, 100, 55, true}, {"hoops", 70, 70, 76, true}, {"lids", 120, 80, 45, true}};
    PropPart& p = m.parts.emplace_back();
    p.name = "barrel";
    uint32_t ring[6][kSegments];
    for (int r = 0; r < 6; ++r)
        for (int i = 0; i < kSegments; ++i)
            ring[r][i] =
                p.Point(Ring(kTau * float(i) / kSegments, kRadius * ringR[r], kHeight * ringY[r]));
    for (int band = 0; band < 5; ++band) {
        const bool hoop = band == 0 || band == 4;
        const UvRect sw = PropUv(hoop ? kPropHoop : kPropPlanks);
        const V3 inside{0, kHeight * (ringY[band] + ringY[band + 1]) / 2, 0};
        for (int i = 0; i < kSegments; ++i) {
            const int j = (i + 1) % kSegments;
            // One plank per segment: a quarter of the swatch, upright.
            const float du = (sw.u1 - sw.u0) / 4, u0 = sw.u0 + du * float(i % 4), u1 = u0 + du;
            const float vTop = sw.v0 + (sw.v1 - sw.v0) * (1 - ringY[band + 1]);
            const float vBottom = sw.v0 + (sw.v1 - sw.v0) * (1 - ringY[band]);
            const float uv[4][2] = {{u0, vTop}, {u1, vTop}, {u1, vBottom}, {u0, vBottom}};
            p.Face({ring[band + 1][j], ring[band + 1][i], ring[band][i], ring[band][j]}, uv,
                   hoop ? kHoops : kStaves, inside);
        }
    }
    const UvRect lid = PropUv(kPropLid);
    for (const bool top : {true, false}) {
        const float y = top ? kHeight : 0;
        const uint32_t centre = p.Point({0, y, 0});
        uint32_t rim[kSegments];
        for (int i = 0; i < kSegments; ++i)
            rim[i] = p.Point(Ring(kTau * float(i) / kSegments, kRadius, y));
        const V3 inside{0, kHeight / 2, 0};
        for (int i = 0; i < kSegments; ++i) {
            const int j = (i + 1) % kSegments;
            float uv[3][2] = {{(lid.u0 + lid.u1) / 2, (lid.v0 + lid.v1) / 2}};
            DiscUv(lid, kTau * float(i) / kSegments, uv[1]);
            DiscUv(lid, kTau * float(j) / kSegments, uv[2]);
            p.Face({centre, rim[i], rim[j]}, uv, kLids, inside);
        }
    }
    return m;
}

// A board nailed through the post, pointing from x = butt to the tip at x = tip.
void Board(PropPart& p, float butt, float tip, float y0, float y1, UvRect sign) {
    const float z0 = -5, z1 = 5, s = tip > butt ? 1.0f : -1.0f;
    const float neck = tip - s * (y1 - y0) * 0.6f, ym = (y0 + y1) / 2;
    const V3 inside{(butt + neck) / 2, ym, 0};
    const UvRect wood = PropUv(kPropPlanks);
    // The painted faces are seen upright from both sides: +x lies on the left seen from +z.
    const float left = std::max(butt, neck), right = std::min(butt, neck);
    p.Quad({left, y1, z1}, {right, y1, z1}, {right, y0, z1}, {left, y0, z1}, sign, kPaint, inside);
    p.Quad({right, y1, z0}, {left, y1, z0}, {left, y0, z0}, {right, y0, z0}, sign, kPaint, inside);
    p.Quad({butt, y1, z0}, {neck, y1, z0}, {neck, y1, z1}, {butt, y1, z1}, wood, kWood, inside);
    p.Quad({butt, y0, z1}, {neck, y0, z1}, {neck, y0, z0}, {butt, y0, z0}, wood, kWood, inside);
    p.Quad({butt, y1, z1}, {butt, y1, z0}, {butt, y0, z0}, {butt, y0, z1}, wood, kWood, inside);
    // The pointed end.
    const V3 tipInside{(neck + tip) / 2 - s * 4, ym, 0};
    p.Triangle({tip, ym, z1}, {neck, y1, z1}, {neck, y0, z1}, wood, kWood, tipInside);
    p.Triangle({tip, ym, z0}, {neck, y1, z0}, {neck, y0, z0}, wood, kWood, tipInside);
    p.Quad({neck, y1, z0}, {tip, ym, z0}, {tip, ym, z1}, {neck, y1, z1}, wood, kWood, tipInside);
    p.Quad({neck, y0, z1}, {tip, ym, z1}, {tip, ym, z0}, {neck, y0, z0}, wood, kWood, tipInside);
}

PropModel Signpost() {
    PropModel m;
    m.materials = {{"wood", 160, 110, 60, true},
                   {"paint", 235, 225, 200, true},
                   {"stone", 130, 128, 124, true}};
    PropPart& post = m.parts.emplace_back();
    post.name = "post";
    post.Box({-13, 20, -13}, {13, 430, 13}, PropUv(kPropPlanks), kWood);
    Pyramid(post, 430, 18, 450, PropUv(kPropDarkWood), kWood);
    PropPart& boards = m.parts.emplace_back();
    boards.name = "boards";
    Board(boards, -8, 215, 330, 385, PropUv(kPropSignBaske));
    Board(boards, 8, -200, 255, 305, PropUv(kPropSignRiver));
    PropPart& base = m.parts.emplace_back();
    base.name = "base";
    Frustum(base, 0, 40, 44, 30, PropUv(kPropStone), kSignStone);
    return m;
}

uint32_t NextRandom(uint32_t& s) {
    s ^= s << 13, s ^= s >> 17, s ^= s << 5;
    return s;
}

// A lumpy rock of flat facets: a floor, two bands and a peak, radii and heights varied.
void Rock(PropPart& p, float height, int segments, uint32_t seed, V3 at) {
    uint32_t s = seed * 2654435761u + 0x9E3779B9u;
    auto jitter = [&](float amount) {
        return 1.0f + amount * (float(NextRandom(s) & 1023) / 1023.0f * 2 - 1);
    };
    const float radius = height * 0.8f;
    const int n = segments;
    std::vector<V3> rings[3];
    const float ringY[3] = {0, 0.4f, 0.78f}, ringR[3] = {1, 1.08f, 0.6f};
    for (int r = 0; r < 3; ++r) {
        for (int i = 0; i < n; ++i) {
            const float a = kTau * (float(i) + 0.3f * (jitter(1) - 1)) / float(n);
            const float y = r == 0 ? 0 : height * ringY[r] * jitter(0.12f);
            rings[r].push_back(at + Ring(a, radius * ringR[r] * jitter(0.18f), y));
        }
    }
    const V3 peak = at + V3{radius * 0.15f * (jitter(1) - 1), height, radius * 0.1f};
    const V3 inside = at + V3{0, height * 0.4f, 0};
    const UvRect stone = PropUv(kPropStone), moss = PropUv(kPropMoss);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        p.Triangle(at, rings[0][j], rings[0][i], stone, kRock, inside);
        for (int r = 0; r < 2; ++r)
            p.Quad(rings[r + 1][j], rings[r + 1][i], rings[r][i], rings[r][j], stone, kRock,
                   inside);
        p.Triangle(peak, rings[2][i], rings[2][j], moss, kMossy, inside);
    }
}

PropModel Boulder(uint32_t seed) {
    PropModel m;
    m.materials = {{"rock", 128, 128, 128, true}, {"moss", 90, 120, 70, true}};
    PropPart& big = m.parts.emplace_back();
    big.name = "boulder";
    Rock(big, 170, 8, seed, {0, 0, 0});
    PropPart& small = m.parts.emplace_back();
    small.name = "pebble";
    Rock(small, 60, 6, seed + 1, {200, 0, -80});
    return m;
}

PropModel Lantern() {
    PropModel m;
    m.materials = {{"iron", 60, 60, 66, true},
                   {"glass", 255, 214, 120, false},
                   {"stone", 130, 128, 124, true},
                   {"brass", 200, 160, 60, true}};
    const UvRect iron = PropUv(kPropIron);
    PropPart& foot = m.parts.emplace_back();
    foot.name = "foot";
    Frustum(foot, 0, 30, 40, 32, PropUv(kPropStone), kFootStone);
    PropPart& post = m.parts.emplace_back();
    post.name = "post";
    post.Box({-10, 30, -10}, {10, 330, 10}, iron, kIron);
    PropPart& lamp = m.parts.emplace_back();
    lamp.name = "lamp";
    lamp.Box({-42, 330, -42}, {42, 340, 42}, iron, kIron);
    for (const float x : {-34.0f, 34.0f})
        for (const float z : {-34.0f, 34.0f})
            lamp.Box({x - 4, 340, z - 4}, {x + 4, 420, z + 4}, iron, kIron);
    // The glass is a plain colour: drawn without a texture it shows bright, as if lit inside.
    lamp.Box({-30, 340, -30}, {30, 420, 30}, iron, kGlass);
    lamp.Box({-46, 420, -46}, {46, 428, 46}, iron, kIron);
    Pyramid(lamp, 428, 46, 468, iron, kIron);
    lamp.Box({-5, 464, -5}, {5, 480, 5}, PropUv(kPropBrass), kBrass);
    return m;
}

// Pixel text twice its size, centred in the rectangle.
void BigText(Image& img, int x, int y, int w, int h, std::string_view text, uint32_t colour) {
    Image small(PixelTextWidth(text), 7, 0);
    DrawPixelText(small, 0, 0, text, colour);
    const int left = x + (w - small.width * 2) / 2, top = y + (h - 14) / 2;
    for (int sy = 0; sy < 14; ++sy)
        for (int sx = 0; sx < small.width * 2; ++sx)
            if (ChannelA(small.At(sx / 2, sy / 2)) != 0) img.At(left + sx, top + sy) = colour;
}

}  // namespace

UvRect PropUv(PropSwatch s) {
    const float k = 1.0f / kTextureSize;
    if (s == kPropSignBaske || s == kPropSignRiver) {
        const int top = (s == kPropSignBaske ? 2 : 3) * kSwatch;
        return UvRect{2 * k, float(top + 2) * k, 1 - 2 * k, float(top + kSwatch - 2) * k};
    }
    const int x = (int(s) % 4) * kSwatch, y = (int(s) / 4) * kSwatch;
    return UvRect{float(x + 1) * k, float(y + 1) * k, float(x + kSwatch - 1) * k,
                  float(y + kSwatch - 1) * k};
}

Image PropTexture() {
    static const uint32_t kBase[8] = {0xFF9A6A3A, 0xFF5A3A20, 0xFF3C3C42, 0xFF86847E,
                                      0xFF5E7040, 0xFFC8A040, 0xFF4A4A50, 0xFF7A5230};
    Image img(kTextureSize, kTextureSize);
    for (int y = 0; y < 2 * kSwatch; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            const int s = (y / kSwatch) * 4 + x / kSwatch, lx = x % kSwatch, ly = y % kSwatch;
            const float fx = float(lx) / kSwatch, fy = float(ly) / kSwatch;
            float v = FractalNoise(70u + uint32_t(s), fx * 4, fy * 4, 4, 3);
            if (s == kPropPlanks || s == kPropDarkWood) v = FractalNoise(80u, fx * 8, fy, 8, 3);
            uint32_t c = ShadeRgb(kBase[s], 0.8f + 0.4f * v);
            if (s == kPropPlanks && lx % 8 == 0) c = ShadeRgb(c, 0.6f);  // plank joints
            if (s == kPropStone && (ly % 16 == 0 || (lx + (ly / 16) * 8) % 16 == 0))
                c = ShadeRgb(c, 0.65f);  // mortar between blocks
            if ((s == kPropIron || s == kPropHoop) && (lx - 4) % 12 == 0 && (ly - 4) % 12 == 0)
                c = 0xFF9A9AA0;  // rivets
            if (s == kPropLid) {
                const float r = std::hypot(fx - 0.5f, fy - 0.5f);
                if (std::fmod(r * 12, 1.0f) < 0.2f) c = ShadeRgb(c, 0.7f);  // growth rings
            }
            img.At(x, y) = c;
        }
    }
    // The boards: cream paint over wood, a dark rim and the place names.
    for (int row = 2; row < 4; ++row) {
        for (int y = row * kSwatch; y < (row + 1) * kSwatch; ++y) {
            for (int x = 0; x < kTextureSize; ++x) {
                const float v =
                    FractalNoise(90u + uint32_t(row), float(x) / 16, float(y) / 64, 8, 2);
                const int ly = y - row * kSwatch;
                const bool rim = x < 4 || x >= kTextureSize - 4 || ly < 4 || ly >= kSwatch - 4;
                img.At(x, y) = rim ? ShadeRgb(0xFF6A4424, 0.8f + 0.3f * v)
                                   : ShadeRgb(0xFFE8DCC0, 0.88f + 0.16f * v);
            }
        }
        BigText(img, 0, row * kSwatch, kTextureSize, kSwatch, row == 2 ? "BASKE" : "RIVER",
                0xFF3A2414);
    }
    return img;
}

bool MakePropModel(const std::string& recipe, Options& o, PropModel& model,
                   const std::string& where, int line, Diagnostics& diag) {
    float natural = 0;
    if (recipe == "barrel") {
        model = Barrel();
        natural = 190;
    } else if (recipe == "signpost") {
        model = Signpost();
        natural = 450;
    } else if (recipe == "boulder") {
        model = Boulder(uint32_t(o.Int("seed", 1)));
        natural = 170;
    } else if (recipe == "lantern") {
        model = Lantern();
        natural = 480;
    } else {
        diag.Error(where, line, "unknown model recipe " + recipe);
        return false;
    }
    const double height = o.Number("height", natural);
    if (!(height > 0)) {
        diag.Error(where, line, "height must be above 0");
        return false;
    }
    if (float(height) != natural) model.Scale(float(height) / natural);
    return true;
}
