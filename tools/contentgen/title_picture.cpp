#include "title_picture.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// Text in the pixel font, each pixel a scale x scale block, centred across the picture.
void BigText(Image& img, int y, std::string_view text, int scale, uint32_t colour) {
    Image small(PixelTextWidth(text) + 2, 9, 0x00000000u);
    DrawPixelText(small, 1, 1, text, colour, 0xFF181028);
    const int x0 = (img.width - small.width * scale) / 2;
    for (int sy = 0; sy < small.height; ++sy)
        for (int sx = 0; sx < small.width; ++sx)
            if (ChannelA(small.At(sx, sy)) != 0)
                FillRect(img, x0 + sx * scale, y + sy * scale, scale, scale, small.At(sx, sy));
}

// A house of the village: walls, a roof and two lit windows, standing on `ground`.
void House(Image& img, float cx, float ground, float w, float h) {
    const float n = float(img.width);
    const int x = int(cx * n - w * n / 2), top = int((ground - h) * n);
    FillRect(img, x, top, int(w * n), int(h * n) + 1, 0xFF3A2A30);
    for (int r = 0; r < int(h * 0.8f * n); ++r) {  // the roof, wider than the walls
        const int half = int(w * n * 0.62f) - r;
        if (half > 0) FillRect(img, int(cx * n) - half, top - r, half * 2, 1, 0xFF4A2228);
    }
    const int win = std::max(2, int(w * n * 0.14f));
    FillRect(img, x + int(w * n * 0.2f), top + int(h * n * 0.3f), win, win, 0xFFF8D070);
    FillRect(img, x + int(w * n * 0.62f), top + int(h * n * 0.3f), win, win, 0xFFF8D070);
}

}  // namespace

void TitlePicture(Image& img, uint32_t seed) {
    const int n = img.width;
    const float fn = float(n);
    for (int x = 0; x < n; ++x) {
        const float fx = float(x) / fn;
        // The hills far off, the forest on them, and the meadow before the village.
        const float hills = 0.50f + 0.07f * FractalNoise(seed, fx * 3, 0.5f, 3, 3);
        const float trees = 0.60f + 0.05f * FractalNoise(seed + 1, fx * 4, 1.5f, 4, 3) +
                            0.012f * std::fabs(std::sin(fx * 140.0f));
        for (int y = 0; y < n; ++y) {
            const float fy = float(y) / fn;
            uint32_t c;
            if (fy < hills) {
                const float t = std::pow(fy / hills, 1.5f);
                c = Mix(0xFF182050, 0xFFE89058, t);
                const float cloud = FractalNoise(seed + 2, fx * 6, fy * 3, 6, 4);
                c = Mix(c, 0xFFF0B8A0, std::clamp((cloud - 0.58f) * 3.0f, 0.0f, 1.0f) * 0.7f);
            } else if (fy < trees) {
                c = Mix(0xFF504870, 0xFF3A3A5A, (fy - hills) / (trees - hills));
            } else if (fy < 0.66f) {
                c = Mix(0xFF12301C, 0xFF1C4024, (fy - trees) / (0.66f - trees));
            } else {
                const float g = FractalNoise(seed + 3, fx * 8, fy * 8, 8, 3);
                c = Mix(Mix(0xFF2C5A26, 0xFF44782E, g), 0xFF1A3A18, (fy - 0.66f) / 0.34f);
                // The river winds across the meadow toward the bridge.
                const float river = 0.84f + 0.05f * std::sin(fx * 5.0f + 1.0f);
                if (std::fabs(fy - river) < 0.018f + 0.01f * fx)
                    c = Mix(0xFF4070B0, 0xFFE0A070, 0.25f + 0.3f * g);
            }
            img.At(x, y) = c;
        }
    }
    House(img, 0.22f, 0.74f, 0.10f, 0.06f);
    House(img, 0.36f, 0.71f, 0.08f, 0.05f);
    House(img, 0.70f, 0.73f, 0.12f, 0.07f);
    House(img, 0.84f, 0.70f, 0.07f, 0.045f);
    const int big = std::max(1, n * 3 / 128), small = std::max(1, n / 256);
    BigText(img, n / 10, "BASKE", big, 0xFFFFE8A0);
    BigText(img, n / 10 + big * 10, "THE MASTER OF THE FOREST", small, 0xFFF0F0F0);
}
