#include "image_recipes.h"

#include <algorithm>
#include <cmath>

#include "title_picture.h"

const LabelRect kLabelRects[5] = {
    {"HP", 0, 0, 23, 13},           // hit points, in the status panel and the menu screen
    {"MP", 23, 0, 24, 13},          // magic points
    {"menu title", 0, 13, 64, 10},  // above the battle's command list
    {"help mark", 0, 23, 49, 9},    // at the left of the help line
    {"Lv", 0, 32, 46, 13},          // level, on the menu screen
};

namespace {

uint32_t ColourOption(Options& o, const std::string& key, uint32_t fallback,
                      const std::string& where, int line, Diagnostics& diag) {
    std::string text = o.Text(key, "");
    if (text.empty()) return fallback;
    uint32_t c = 0;
    if (!ParseColour(text, c)) {
        diag.Error(where, line, "option " + key + " wants a colour RRGGBB: " + text);
        return fallback;
    }
    return c;
}

void Tile(Image& img, const std::string& kind, uint32_t seed) {
    const int n = img.width;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float fx = float(x) * 8.0f / float(n), fy = float(y) * 8.0f / float(n);
            const float v = FractalNoise(seed, fx, fy, 8, 4);
            const float speck = float(Hash3(seed, uint32_t(x), uint32_t(y)) & 255) / 255.0f;
            uint32_t c;
            if (kind == "grass") {
                c = Mix(0xFF2E6B23, 0xFF6FA83A, v);
                if (speck > 0.93f) c = ShadeRgb(c, 1.25f);
            } else if (kind == "dirt") {
                c = Mix(0xFF5C4128, 0xFF9A7650, v);
                if (speck > 0.95f) c = 0xFF7A7066;
            } else if (kind == "path") {
                c = Mix(0xFF8A7350, 0xFFC2A878, v);
                if (speck > 0.9f) c = ShadeRgb(c, 0.8f);
            } else if (kind == "stone") {
                // Flagstones: a grid of slabs with dark joints.
                const int cell = std::max(4, n / 4), jx = x % cell,
                          jy = (y + (x / cell % 2) * cell / 2) % cell;
                c = Mix(0xFF6E6A66, 0xFFA8A29A, v);
                if (jx == 0 || jy == 0) c = 0xFF3E3A36;
            } else if (kind == "sand") {
                c = Mix(0xFFB89C68, 0xFFE6D09A, v);
            } else {  // water
                const float wave = 0.5f + 0.5f * std::sin((fx + fy * 0.5f + v * 3.0f) * 3.14159f);
                c = Mix(0xFF1E4A8A, 0xFF5C9AD8, wave * 0.7f + v * 0.3f);
            }
            img.At(x, y) = c;
        }
    }
}

void Sky(Image& img, bool top, uint32_t seed, uint32_t zenith, uint32_t horizon) {
    const int n = img.width;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float fx = float(x) / float(n), fy = float(y) / float(n);
            // Sides: zenith at the top row, horizon at the bottom; the top face is all zenith
            // but lighter toward its edges, where it meets the sides.
            float t =
                top ? 0.35f * std::max(std::fabs(fx - 0.5f), std::fabs(fy - 0.5f)) * 2.0f : fy;
            uint32_t c = Mix(zenith, horizon, std::pow(t, 1.6f));
            const float cloud = FractalNoise(seed, fx * 6.0f, fy * (top ? 6.0f : 3.0f), 6, 4);
            const float amount =
                std::clamp((cloud - 0.55f) * 3.0f, 0.0f, 1.0f) * (top ? 1.0f : (1.0f - fy * 0.6f));
            img.At(x, y) = Mix(c, 0xFFF4F6FA, amount * 0.85f);
        }
    }
}

void Face(Image& img, uint32_t skin, uint32_t hair, uint32_t eyes, uint32_t back) {
    const float n = float(img.width);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.At(x, y) = Mix(back, ShadeRgb(back, 0.6f), float(y) / n);
    FillEllipse(img, n * 0.5f, n * 0.56f, n * 0.30f, n * 0.36f, hair);  // hair behind
    FillEllipse(img, n * 0.5f, n * 0.60f, n * 0.25f, n * 0.30f, skin);  // face
    FillRect(img, int(n * 0.22f), int(n * 0.22f), int(n * 0.56f), int(n * 0.14f), hair);  // fringe
    FillEllipse(img, n * 0.40f, n * 0.58f, n * 0.045f, n * 0.06f, eyes);
    FillEllipse(img, n * 0.60f, n * 0.58f, n * 0.045f, n * 0.06f, eyes);
    FillEllipse(img, n * 0.41f, n * 0.565f, n * 0.015f, n * 0.02f, 0xFFFFFFFF);
    FillEllipse(img, n * 0.61f, n * 0.565f, n * 0.015f, n * 0.02f, 0xFFFFFFFF);
    FillRect(img, int(n * 0.44f), int(n * 0.76f), int(n * 0.12f), std::max(1, int(n * 0.02f)),
             ShadeRgb(skin, 0.55f));
    FillRect(img, int(n * 0.3f), int(n * 0.93f), int(n * 0.4f), int(n * 0.07f) + 1,
             ShadeRgb(back, 0.4f));  // collar
}

// Billboard pictures: transparent background, feet at the bottom edge.
void Sprite(Image& img, const std::string& kind, uint32_t seed) {
    const float n = float(img.width);
    std::fill(img.pixels.begin(), img.pixels.end(), 0x00000000u);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const float fx = (float(x) + 0.5f) / n, fy = (float(y) + 0.5f) / n;
            const float dx = fx - 0.5f, dy = fy - 0.5f, r = std::sqrt(dx * dx + dy * dy);
            const float noise = FractalNoise(seed, fx * 4, fy * 4, 4, 3);
            if (kind == "smoke" || kind == "sparkle") {
                const float soft = std::clamp(1.0f - r * 2.0f, 0.0f, 1.0f);
                const float a =
                    kind == "smoke" ? soft * soft * (0.5f + noise * 0.6f) : std::pow(soft, 3.0f);
                const uint32_t c =
                    kind == "smoke" ? Mix(0xFF9A9A9A, 0xFFE8E8E8, noise) : 0xFFFFF4C0;
                img.At(x, y) =
                    (c & 0x00FFFFFFu) | (uint32_t(std::clamp(a, 0.0f, 1.0f) * 255.0f) << 24);
            } else if (kind == "bush") {
                const float ry = (fy - 0.62f) / 0.38f, rx = dx / 0.46f;
                if (rx * rx + ry * ry < 0.8f + noise * 0.4f)
                    img.At(x, y) = Mix(0xFF1E5A1E, 0xFF58A040, noise + (1 - fy) * 0.3f);
            } else {  // flower: stem, leaves and a bloom
                if (std::fabs(dx) < 0.03f && fy > 0.35f) img.At(x, y) = 0xFF2E7A2A;
                const float lx = std::fabs(dx) - 0.12f, ly = fy - 0.72f;
                if (lx * lx / 0.012f + ly * ly / 0.003f < 1.0f) img.At(x, y) = 0xFF3C9A34;
                const float bx = dx, by = fy - 0.28f, br = std::sqrt(bx * bx + by * by);
                const float petals = 0.16f + 0.05f * std::cos(std::atan2(by, bx) * 5.0f);
                if (br < petals)
                    img.At(x, y) = br < 0.06f ? 0xFFF0C020 : Mix(0xFFE04070, 0xFFF8A0C0, noise);
            }
        }
    }
}

void Cursor(Image& img) {
    std::fill(img.pixels.begin(), img.pixels.end(), 0x00000000u);
    // A downward arrow over the target: yellow with a dark rim.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float fx = float(x) + 0.5f - 16.0f, fy = float(y) + 0.5f;
            const bool shaft = std::fabs(fx) < 5.0f && fy > 3.0f && fy < 16.0f;
            const bool head = fy >= 14.0f && fy < 29.0f && std::fabs(fx) < (29.0f - fy) * 0.8f;
            const bool rimShaft = std::fabs(fx) < 7.0f && fy > 1.0f && fy < 17.0f;
            const bool rimHead =
                fy >= 12.0f && fy < 31.0f && std::fabs(fx) < (31.0f - fy) * 0.8f + 0.5f;
            if (shaft || head)
                img.At(x, y) = Mix(0xFFFFF060, 0xFFE0A000, fy / 32.0f);
            else if (rimShaft || rimHead)
                img.At(x, y) = 0xFF402000;
        }
    }
}

void Labels(Image& img) {
    std::fill(img.pixels.begin(), img.pixels.end(), 0x00000000u);
    const uint32_t outline = 0xFF101030;
    // Each picture is drawn into its own rectangle only.
    auto draw = [&](const LabelRect& r, const char* text, uint32_t colour, uint32_t band) {
        Image part(r.w, r.h, band);
        const int tw = PixelTextWidth(text);
        DrawPixelText(part, (r.w - tw) / 2, (r.h - 7) / 2, text, colour, outline);
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) img.At(r.x + x, r.y + y) = part.At(x, y);
    };
    draw(kLabelRects[0], "HP", 0xFFFF8060, 0x00000000);
    draw(kLabelRects[1], "MP", 0xFF60C0FF, 0x00000000);
    draw(kLabelRects[2], "COMMAND", 0xFFFFFFFF, 0x00000000);
    draw(kLabelRects[3], "> HELP", 0xFF80FF80, 0x00000000);
    draw(kLabelRects[4], "Lv", 0xFFFFE060, 0x00000000);
}

void Atlas(Image& img, const std::string& kind, uint32_t seed) {
    const int cell = img.width / 4;
    // Base colours of the 16 swatches, then a pattern per swatch.
    static const uint32_t kProps[16] = {0xFFE8DCC0, 0xFFB0402C, 0xFF8A5A30, 0xFF8C8A86,
                                        0xFF2F7A2C, 0xFF5A3C22, 0xFF3A78C0, 0xFF4A2E18,
                                        0xFF6090C0, 0xFF5E9A3A, 0xFFC8B070, 0xFF303030,
                                        0xFFD0D0D8, 0xFFA08060, 0xFF804020, 0xFFFFFFFF};
    static const uint32_t kWeapons[16] = {0xFFC8D0DC, 0xFFD8B040, 0xFF5A3418, 0xFF8A5A30,
                                          0xFF808890, 0xFFB02020, 0xFF2040B0, 0xFF202020,
                                          0xFFC8D0DC, 0xFFC8D0DC, 0xFFC8D0DC, 0xFFC8D0DC,
                                          0xFFC8D0DC, 0xFFC8D0DC, 0xFFC8D0DC, 0xFFC8D0DC};
    const uint32_t* base = kind == "weapons" ? kWeapons : kProps;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const int s = (y / cell) * 4 + x / cell, lx = x % cell, ly = y % cell;
            const float v = FractalNoise(seed + uint32_t(s), float(lx) * 4 / float(cell),
                                         float(ly) * 4 / float(cell), 4, 3);
            uint32_t c = ShadeRgb(base[s], 0.85f + 0.3f * v);
            if (kind == "props") {
                if (s == 1 && ly % (cell / 4) == 0) c = ShadeRgb(c, 0.6f);  // roof tile rows
                if ((s == 2 || s == 7) && lx % (cell / 4) == 0) c = ShadeRgb(c, 0.7f);  // planks
                if (s == 3 && (lx % (cell / 2) == 0 || ly % (cell / 4) == 0))
                    c = ShadeRgb(c, 0.6f);  // stone blocks
                if (s == 8 && (lx == cell / 2 || ly == cell / 2 || lx < 2 || ly < 2))
                    c = 0xFF4A2E18;  // window frame
            }
            if (kind == "weapons" && s == 0)
                c = Mix(0xFF8890A0, 0xFFF0F4FF, float(lx) / float(cell));
            if (kind == "ground") {
                // One picture over the whole battle ground: grass with a worn patch in the middle.
                const float fx = float(x) / float(img.width) - 0.5f,
                            fy = float(y) / float(img.height) - 0.5f;
                const float g = FractalNoise(seed, float(x) * 8 / float(img.width),
                                             float(y) * 8 / float(img.height), 8, 4);
                const float worn = std::clamp(
                    1.2f - std::sqrt(fx * fx + fy * fy) * 4.0f + g * 0.4f - 0.2f, 0.0f, 1.0f);
                c = Mix(Mix(0xFF2E6B23, 0xFF6FA83A, g), Mix(0xFF7A6040, 0xFFA88C60, g), worn);
            }
            img.At(x, y) = c;
        }
    }
}

}  // namespace

Image MakeImage(const std::string& recipe, Options& o, const std::string& where, int line,
                Diagnostics& diag) {
    const uint32_t seed = uint32_t(o.Int("seed", 1));
    int size = o.Int("size", recipe == "cursor" ? 32 : recipe == "labels" ? 64 : 64);
    if (size < 4 || size > 1024 || size % 4) {
        diag.Error(where, line, "size must be a multiple of 4 from 4 to 1024");
        size = 64;
    }
    Image img(size, size);
    if (recipe == "tile") {
        Tile(img, o.Text("kind", "grass"), seed);
    } else if (recipe == "sky") {
        const std::string face = o.Text("face", "side");
        Sky(img, face == "top", seed, ColourOption(o, "top", 0xFF2C64C8, where, line, diag),
            ColourOption(o, "horizon", 0xFFB8D8F0, where, line, diag));
    } else if (recipe == "face") {
        Face(img, ColourOption(o, "skin", 0xFFF0C8A0, where, line, diag),
             ColourOption(o, "hair", 0xFF503020, where, line, diag),
             ColourOption(o, "eyes", 0xFF203060, where, line, diag),
             ColourOption(o, "back", 0xFF6080B0, where, line, diag));
    } else if (recipe == "sprite") {
        Sprite(img, o.Text("kind", "flower"), seed);
    } else if (recipe == "cursor") {
        if (size != 32) diag.Error(where, line, "the cursor is 32 x 32");
        img = Image(32, 32);
        Cursor(img);
    } else if (recipe == "labels") {
        Labels(img);
    } else if (recipe == "atlas") {
        Atlas(img, o.Text("kind", "props"), seed);
    } else if (recipe == "title") {
        TitlePicture(img, seed);
    } else {
        diag.Error(where, line, "unknown image recipe " + recipe);
    }
    return img;
}
