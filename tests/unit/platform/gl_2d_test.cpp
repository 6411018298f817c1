// Styled text through the real OpenGL backend. (Sprites land texel for pixel in every picture of
// the play-through and in the texture tests.)

#include <algorithm>

#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "gl_test_support.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"

namespace {

class Gl2dTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        savedCodec_ = g_Host.codec;
        g_Host.codec = &codec_;
        g_pd3dDevice = device.get();
    }
    void TearDown() override {
        ReleaseGameFont();
        SetGlyphRasterizer(nullptr);
        g_pd3dDevice = nullptr;
        g_Host.codec = savedCodec_;
        GlPixelTest::TearDown();
    }
    int R(int x, int y) const { return (Pixel(x, y) >> 16) & 255; }
    int G(int x, int y) const { return (Pixel(x, y) >> 8) & 255; }
    int B(int x, int y) const { return Pixel(x, y) & 255; }
    // Draws `text` alone in `argb` and marks each pixel 1 (fully inked) or 2 (untouched).
    void MapGlyphs(const std::string& text, int x, int y, uint32_t argb) {
        static FreeTypeRasterizer rasterizer;
        SetGlyphRasterizer(&rasterizer);
        CreateGameFont(18);
        DrawPlainText(text.c_str(), x, y, argb);
        Read();
        map_.assign(size_t(kTargetWidth) * kTargetHeight, 0);
        for (int py = 0; py < kTargetHeight; ++py)
            for (int px = 0; px < kTargetWidth; ++px) {
                const uint32_t c = Pixel(px, py);
                if (ColourNear(c, argb, 4)) map_[size_t(py) * kTargetWidth + px] = 1;
                if ((c & 0xFFFFFF) == (kClearColour & 0xFFFFFF))
                    map_[size_t(py) * kTargetWidth + px] = 2;
            }
        device->Clear(kClearTarget | kClearZBuffer, kClearColour, 1.0f, 0);
    }
    bool Inked(int x, int y) const {
        return x >= 0 && y >= 0 && x < kTargetWidth && y < kTargetHeight &&
               map_[size_t(y) * kTargetWidth + x] == 1;
    }
    bool Untouched(int x, int y) const { return map_[size_t(y) * kTargetWidth + x] == 2; }

    std::vector<uint8_t> map_;
    IconvCodec codec_;
    ITextCodec* savedCodec_ = nullptr;
};

}  // namespace

TEST_F(Gl2dTest, OutlineTextIsRingedInBlackAndClippedAtTheRightEdge) {
    if (!device) GTEST_SKIP() << "no OpenGL";
    const std::string text = SJIS("田");
    MapGlyphs(text, 200, 200, 0xFFFFFF00);
    DrawOutlineText(text.c_str(), 200, 200, 255, 255, 0);
    DrawOutlineText("HHHHHHHH", 600, 300, 255, 255, 255);
    Read();
    int ringed = 0;
    for (int y = 150; y < 250; ++y)
        for (int x = 150; x < 250; ++x) {
            // A pixel beside a fully inked one is covered by one of the four black copies.
            if (Untouched(x, y) &&
                (Inked(x - 1, y) || Inked(x + 1, y) || Inked(x, y - 1) || Inked(x, y + 1))) {
                EXPECT_TRUE(ColourNear(Pixel(x, y), 0xFF000000, 2)) << x << "," << y;
                ++ringed;
            }
        }
    EXPECT_GT(ringed, 10);
    // The long line reaches the screen's edge and stops there without wrapping.
    int left = kTargetWidth, right = -1, bottom = -1;
    for (int y = 0; y < kTargetHeight; ++y)
        for (int x = 0; x < kTargetWidth; ++x)
            if (R(x, y) > 200 && G(x, y) > 200 && B(x, y) > 200)
                left = std::min(left, x), right = std::max(right, x), bottom = std::max(bottom, y);
    EXPECT_GE(left, 600);
    EXPECT_EQ(right, 639);
    EXPECT_LE(bottom, 300 + 18);
}
