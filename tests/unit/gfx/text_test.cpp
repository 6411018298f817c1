#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "fake_glyph_rasterizer.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "glyph_quads.h"
#include "test_support.h"

// The styled text of the game (shadow, outline), the plain overlay text and the frame-rate
// overlay, drawn through the real font onto a recording device with box glyphs.
class TextTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        device = std::make_unique<GfxDevice>(&rec);
        savedDevice = g_pd3dDevice;
        g_pd3dDevice = device.get();
        SetGlyphRasterizer(&fake);
        CreateGameFont(18);
        g_TextRect = {0, 0, 640, 480};
    }
    void TearDown() override {
        ReleaseGameFont();
        SetGlyphRasterizer(nullptr);
        g_pd3dDevice = savedDevice;
        device.reset();
        HeadlessHostTest::TearDown();
    }

    // A single-byte box drawn with its pen at (x, y): 1 right, 14 - 10 down, half a pixel back.
    static void ExpectBoxAt(const RecordedQuad& q, float x, float y) {
        EXPECT_EQ(std::tuple(q.tl.x, q.tl.y, q.br.x, q.br.y),
                  std::tuple(x + 0.5f, y + 3.5f, x + 6.5f, y + 13.5f));
    }

    RecordingBackend rec;
    FakeGlyphRasterizer fake;
    std::unique_ptr<GfxDevice> device;
    GfxDevice* savedDevice = nullptr;
};

// The outline's four black copies are seen in pixels by the GL 2D test.
TEST_F(TextTest, CopiesAreDrawnFirstAndThePenStaysInTheRectangle) {
    DrawShadowText("AB", 10, 20, 255, 128 + 256, -256);  // only the low 8 bits count
    ASSERT_EQ(rec.draws.size(), 2u);
    auto shadow = QuadsOf(rec, rec.draws[0]), text = QuadsOf(rec, rec.draws[1]);
    ASSERT_EQ(shadow.size(), 2u);
    ASSERT_EQ(text.size(), 2u);
    ExpectBoxAt(shadow[1], 19, 21);
    ExpectBoxAt(text[0], 10, 20);
    EXPECT_EQ(shadow[0].colour, 0xFF0000A0u);
    EXPECT_EQ(text[1].colour, 0xFFFF8000u);
    EXPECT_EQ(TextOf(rec, rec.draws[1]), "AB");
    // Left and top keep the last draw's corner; right and bottom are not touched.
    EXPECT_EQ(std::tuple(g_TextRect.left, g_TextRect.top), std::tuple(10, 20));
    rec.Reset();
    DrawOutlineText("A", 100, 50, 1 + 512, 2, 3 + 1024);  // here too
    ASSERT_EQ(rec.draws.size(), 5u);
    EXPECT_EQ(QuadsOf(rec, rec.draws[4])[0].colour, 0xFF010203u);
}

TEST_F(TextTest, FpsOverlayShowsAFiniteRateEvenWithinOneMillisecond) {
    clock.now = 5000;
    DrawFps(0, 0);
    clock.now = 5020;
    DrawFps(0, 0);
    DrawFps(0, 0);  // same millisecond
    ASSERT_EQ(rec.draws.size(), 3u);
    EXPECT_EQ(TextOf(rec, rec.draws[1]), "FPS:50.000");
    EXPECT_EQ(TextOf(rec, rec.draws[2]), "FPS:1000.000");
}

TEST_F(TextTest, FontIsRecreatedAndWithoutDeviceOrRasteriserNothingIsDrawn) {
    CreateGameFont(18);
    CreateGameFont(18);
    EXPECT_EQ(device->LiveTextureCount(), 1u);  // the old font's atlas went with it
    ReleaseGameFont();
    EXPECT_EQ(g_pFont, nullptr);
    EXPECT_EQ(device->LiveTextureCount(), 0u);

    SetGlyphRasterizer(nullptr);
    CreateGameFont(18);
    ASSERT_NE(g_pFont, nullptr);
    DrawOutlineText("A", 0, 0, 1, 1, 1);

    g_pd3dDevice = nullptr;
    CreateGameFont(18);
    EXPECT_EQ(g_pFont, nullptr);
    DrawPlainText("A", 0, 0, 0xFFFFFFFF);
    EXPECT_TRUE(rec.draws.empty());
    g_pd3dDevice = device.get();
}
