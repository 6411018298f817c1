// Sprites and styled text through the real OpenGL backend.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/sjis.h"
#include "app/sprite.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "gl_test_support.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"

namespace {

struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    bool Empty() const { return right < 0; }
};

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
    // Bounding box of the pixels that pass `match`.
    template <typename F>
    Box Find(F match) const {
        Box b;
        for (int y = 0; y < kTargetHeight; ++y)
            for (int x = 0; x < kTargetWidth; ++x)
                if (match(Pixel(x, y))) b.Add(x, y);
        return b;
    }
    static int R(uint32_t c) { return (c >> 16) & 255; }
    static int G(uint32_t c) { return (c >> 8) & 255; }
    static int B(uint32_t c) { return c & 255; }

    IconvCodec codec_;
    ITextCodec* savedCodec_ = nullptr;
};

}  // namespace

TEST_F(Gl2dTest, SpriteCopiesItsSourceRectangleOntoTheExpectedPixels) {
    if (!device) GTEST_SKIP() << "no OpenGL";
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < 16; ++i) {
        uint32_t argb = 0xFF000000 | (i * 16) << 16 | (255 - i * 16) << 8 | 0x40;
        for (int k = 0; k < 4; ++k) bytes.push_back(uint8_t(argb >> (8 * k)));
    }
    TextureSlot slot{MakeTexture(4, 4, PixelFormat::A8R8G8B8, bytes), 4, 4};
    device->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    device->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
    DrawSprite(100, 50, slot, 1, 1, 2, 2);
    Read();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            uint32_t i = uint32_t((y + 1) * 4 + x + 1);
            uint32_t expected = 0xFF000000 | (i * 16) << 16 | (255 - i * 16) << 8 | 0x40;
            EXPECT_TRUE(ColourNear(Pixel(100 + x, 50 + y), expected, 1)) << x << "," << y;
        }
    }
    EXPECT_TRUE(ColourNear(Pixel(99, 50), kClearColour, 0));
    EXPECT_TRUE(ColourNear(Pixel(102, 51), kClearColour, 0));
    EXPECT_TRUE(ColourNear(Pixel(100, 52), kClearColour, 0));
    slot.texture->Release();
}

TEST_F(Gl2dTest, ShadowTextLeavesDarkBlueOnePixelRightAndBelow) {
    if (!device) GTEST_SKIP() << "no OpenGL";
    static FreeTypeRasterizer rasterizer;
    SetGlyphRasterizer(&rasterizer);
    CreateGameFont(18);
    const std::string text = SJIS("田H");
    // The glyphs alone, to know which pixels are fully inked.
    DrawPlainText(text.c_str(), 100, 100, 0xFFFFFFFF);
    Read();
    // 1: fully inked, 2: untouched by the glyphs.
    std::vector<uint8_t> solid(size_t(kTargetWidth) * kTargetHeight);
    int inked = 0;
    for (int y = 0; y < kTargetHeight; ++y) {
        for (int x = 0; x < kTargetWidth; ++x) {
            uint32_t c = Pixel(x, y);
            if (R(c) > 250 && G(c) > 250 && B(c) > 250)
                solid[size_t(y) * kTargetWidth + x] = 1, ++inked;
            else if ((c & 0xFFFFFF) == (kClearColour & 0xFFFFFF))
                solid[size_t(y) * kTargetWidth + x] = 2;
        }
    }
    ASSERT_GT(inked, 20) << "no text drawn (is a font installed?)";
    auto isSolid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kTargetWidth && y < kTargetHeight &&
               solid[size_t(y) * kTargetWidth + x] == 1;
    };
    auto untouched = [&](int x, int y) { return solid[size_t(y) * kTargetWidth + x] == 2; };

    device->Clear(kClearTarget | kClearZBuffer, kClearColour, 1.0f, 0);
    DrawShadowText(text.c_str(), 100, 100, 255, 255, 255);
    Read();
    int shadowed = 0;
    for (int y = 0; y < kTargetHeight; ++y) {
        for (int x = 0; x < kTargetWidth; ++x) {
            uint32_t c = Pixel(x, y);
            if (isSolid(x, y)) {
                EXPECT_GT(R(c), 250) << x << "," << y;  // the text lies on top of its shadow
            } else if (untouched(x, y) && isSolid(x - 1, y - 1)) {
                EXPECT_TRUE(ColourNear(c, 0xFF0000A0, 2)) << x << "," << y;
                ++shadowed;
            }
        }
    }
    EXPECT_GT(shadowed, 5);
    EXPECT_EQ(g_TextRect.left, 100);  // the second draw's position stays in the rectangle
    EXPECT_EQ(g_TextRect.top, 100);
}

TEST_F(Gl2dTest, OutlineTextIsRingedInBlackAndClippedAtTheRightEdge) {
    if (!device) GTEST_SKIP() << "no OpenGL";
    static FreeTypeRasterizer rasterizer;
    SetGlyphRasterizer(&rasterizer);
    CreateGameFont(18);
    const std::string text = SJIS("田");
    DrawPlainText(text.c_str(), 200, 200, 0xFFFFFF00);
    Read();
    std::vector<uint8_t> solid(size_t(kTargetWidth) * kTargetHeight);
    for (int y = 0; y < kTargetHeight; ++y) {
        for (int x = 0; x < kTargetWidth; ++x) {
            uint32_t c = Pixel(x, y);
            if (R(c) > 250 && G(c) > 250 && B(c) < 5)
                solid[size_t(y) * kTargetWidth + x] = 1;
            else if ((c & 0xFFFFFF) == (kClearColour & 0xFFFFFF))
                solid[size_t(y) * kTargetWidth + x] = 2;
        }
    }
    auto isSolid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kTargetWidth && y < kTargetHeight &&
               solid[size_t(y) * kTargetWidth + x] == 1;
    };

    device->Clear(kClearTarget | kClearZBuffer, kClearColour, 1.0f, 0);
    DrawOutlineText(text.c_str(), 200, 200, 255, 255, 0);
    DrawOutlineText("HHHHHHHH", 600, 300, 255, 255, 255);
    Read();
    int ringed = 0;
    for (int y = 150; y < 250; ++y) {
        for (int x = 150; x < 250; ++x) {
            if (solid[size_t(y) * kTargetWidth + x] != 2) continue;
            // A pixel beside a fully inked one is covered by one of the four black copies.
            if (isSolid(x - 1, y) || isSolid(x + 1, y) || isSolid(x, y - 1) || isSolid(x, y + 1)) {
                EXPECT_TRUE(ColourNear(Pixel(x, y), 0xFF000000, 2)) << x << "," << y;
                ++ringed;
            }
        }
    }
    EXPECT_GT(ringed, 10);
    // The long line reaches the screen's edge and stops there without wrapping.
    Box w = Find([](uint32_t c) { return R(c) > 200 && G(c) > 200 && B(c) > 200; });
    ASSERT_FALSE(w.Empty());
    EXPECT_GE(w.left, 600);
    EXPECT_EQ(w.right, 639);
    EXPECT_LE(w.bottom, 300 + 18);
}
