#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/sjis.h"
#include "fake_glyph_rasterizer.h"
#include "gfx/font.h"
#include "glyph_quads.h"
#include "test_support.h"

// The font object itself: layout of Shift-JIS text, the glyph atlas and the device state.
class FontTest : public HeadlessHostTest {
protected:
    RZ_Font* MakeFont(FontAtlasLimits limits = {}) {
        font = new RZ_Font(&device, &fake, 18, limits);
        return font;
    }
    void TearDown() override {
        if (font) font->Release();
        HeadlessHostTest::TearDown();
    }
    int Draw(const std::string& text, uint32_t format = 0, int count = -1) {
        return font->DrawText(text.c_str(), count, &rect, format, 0xFFFFFFFF);
    }
    std::vector<RecordedQuad> LastQuads() { return QuadsOf(rec, rec.draws.back()); }

    RecordingBackend rec;
    GfxDevice device{&rec};
    FakeGlyphRasterizer fake;
    RZ_Font* font = nullptr;
    TextRect rect{0, 0, 640, 480};
};

TEST_F(FontTest, TwoByteCharactersAreOneGlyphAndTextEndsAtTheCountOrTerminator) {
    MakeFont();
    std::string text = SJIS("表あ") + "A" + "\xB1";  // 0x95 0x5C, 0x82 0xA0, ASCII, katakana
    ASSERT_EQ(text.substr(0, 2), "\x95\x5C");
    Draw(text);
    auto q = LastQuads();
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(TextOf(rec, rec.draws.back()), text);
    // Full-width boxes advance 18, the half-width ones 8.
    EXPECT_FLOAT_EQ(q[2].tl.x, 36 + 0.5f);
    EXPECT_FLOAT_EQ(q[3].tl.x, 44 + 0.5f);

    // Exactly two bytes on the heap: a lead byte at the very end must not read beyond it.
    std::vector<char> bytes{'A', '\x95'};
    font->DrawText(bytes.data(), 2, &rect, 0, 0xFFFFFFFF);
    EXPECT_EQ(TextOf(rec, rec.draws.back()), "A");
    const std::tuple<std::string, int, const char*> cut[] = {
        {"A\x95", -1, "A"},                   // the lead byte meets the terminator
        {"AB\x95\x5C", 3, "AB"},              // the count cuts the pair
        {std::string("AB\0CD", 5), 5, "AB"},  // a terminator inside the count ends the text
    };
    for (const auto& [t, count, shown] : cut) {
        Draw(t, 0, count);
        EXPECT_EQ(TextOf(rec, rec.draws.back()), shown);
    }
    rec.Reset();
    EXPECT_EQ(Draw(""), 0);
    EXPECT_EQ(font->DrawText(nullptr, -1, &rect, 0, 0), 0);
    EXPECT_EQ(rec.drawCount, 0u);
}

TEST_F(FontTest, LinesBreakAtNewlineOneCellApartAndTabsExpandOnlyWhenAsked) {
    MakeFont();
    rect = {10, 20, 640, 480};
    EXPECT_EQ(Draw("A\r\nB\nC"), 54);  // three lines of 18
    auto q = LastQuads();
    ASSERT_EQ(q.size(), 3u);
    EXPECT_FLOAT_EQ(q[1].tl.x, q[0].tl.x);
    EXPECT_FLOAT_EQ(q[1].tl.y - q[0].tl.y, 18.0f);
    EXPECT_FLOAT_EQ(q[2].tl.y - q[0].tl.y, 36.0f);

    Draw("AB\tC", DT_EXPANDTABS);  // 'C' goes to the next stop, 64 from the left edge
    EXPECT_FLOAT_EQ(LastQuads()[2].tl.x, 10 + 64 + 0.5f);
    Draw("AB\tC");  // without expansion the tab shows nothing and takes no room
    EXPECT_FLOAT_EQ(LastQuads()[2].tl.x, 10 + 16 + 0.5f);
}

TEST_F(FontTest, ClippingCutsTextureCoordinatesInProportionOnEveryEdge) {
    fake.overhangGlyph = 'V';  // reaches 2 pixels left of the pen and above the cell
    MakeFont();
    Draw("AV", DT_NOCLIP);
    std::vector<RecordedQuad> whole = LastQuads();
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_FLOAT_EQ(whole[1].tl.x, 8 - 2 - 0.5f);
    EXPECT_FLOAT_EQ(whole[1].tl.y, -2 - 0.5f);

    // 'A' covers x 1..7 and y 4..14: lose one column and one row.
    rect = {0, 0, 6, 13};
    Draw("A");
    RecordedQuad a = LastQuads()[0];
    float du = (whole[0].br.u - whole[0].tl.u) / 6, dv = (whole[0].br.v - whole[0].tl.v) / 10;
    EXPECT_FLOAT_EQ(a.br.x, 5.5f);
    EXPECT_FLOAT_EQ(a.br.y, 12.5f);
    EXPECT_NEAR(a.br.u, whole[0].tl.u + 5 * du, 1e-6f);
    EXPECT_NEAR(a.br.v, whole[0].tl.v + 9 * dv, 1e-6f);

    // Nothing of the text is inside an empty or inverted rectangle.
    rec.Reset();
    rect = {100, 100, 50, 50};
    Draw("AB");
    EXPECT_EQ(rec.drawCount, 0u);
}

TEST_F(FontTest, ADrawIsOneBatchOfTheAtlasAndPutsTheGameStatesBack) {
    MakeFont();
    GfxTexture* gameTexture = nullptr;
    ASSERT_EQ(device.CreateTexture(4, 4, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &gameTexture),
              kOk);
    device.SetTexture(0, gameTexture);
    device.SetVertexShader(kFvfWorldVertex);
    device.SetRenderState(RenderState::DestBlend, Blend::One);
    device.SetRenderState(RenderState::ZEnable, 1);
    device.SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
    DeviceState before = device.State();

    Draw(SJIS("表示") + "ABC");
    ASSERT_EQ(rec.draws.size(), 1u);
    const DeviceState& s = rec.draws[0].state;
    EXPECT_EQ(s.texture, font->AtlasTexture());
    EXPECT_EQ(s.Rs(RenderState::ZEnable), 0u);
    const DeviceState& after = device.State();
    EXPECT_EQ(std::memcmp(after.renderStates, before.renderStates, sizeof before.renderStates), 0);
    EXPECT_EQ(std::memcmp(after.stageStates, before.stageStates, sizeof before.stageStates), 0);
    EXPECT_EQ(after.texture, gameTexture);
    gameTexture->Release();
}

TEST_F(FontTest, RepeatedTextIsServedFromTheAtlasWithoutRasterisingOrUploadingAgain) {
    MakeFont();
    auto frame = [&] {
        for (int line = 0; line < 200; ++line) {
            rect = {4, 2 * line, 640, 480};
            Draw(SJIS("体力") + " 123/456 " + std::to_string(line % 10));
        }
    };
    frame();
    int calls = fake.totalCalls;
    uint64_t uploads = rec.uploadCount;
    EXPECT_EQ(calls, 2 + 1 + 7 + 4);  // 体 力, space, 1-6 and "/", then 0 7 8 9
    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(fake.totalCalls, calls);
    EXPECT_EQ(rec.uploadCount, uploads);
    EXPECT_EQ(rec.drawCount, 800u);  // one draw a line
    EXPECT_EQ(font->EvictionCount(), 0u);
}

TEST_F(FontTest, AGrowingAtlasKeepsItsGlyphsAndAFullOneStartsAfreshMidText) {
    // 32 pixels hold one 16 x 16 box; the atlas grows to 64 (9 boxes), then must empty itself.
    MakeFont({32, 64});
    std::string some;
    for (int i = 0; i < 6; ++i) some += char(0x88), some += char(0x9F + i);
    Draw(some);
    EXPECT_EQ(font->AtlasSize(), 64u);
    EXPECT_EQ(TextOf(rec, rec.draws.back()), some);  // glyphs placed before growing still read

    rec.Reset();
    std::string many;
    for (int i = 0; i < 30; ++i) many += char(0x89), many += char(0x40 + i);
    Draw(many);
    EXPECT_GT(font->EvictionCount(), 0u);
    EXPECT_GT(rec.draws.size(), 1u);
    size_t quads = 0;
    float lastX = -1;
    for (const auto& d : rec.draws) {
        // Distinct characters: no two quads of one draw may share a place in the atlas.
        std::set<std::pair<float, float>> places;
        for (const auto& q : QuadsOf(rec, d)) {
            EXPECT_TRUE(places.insert({q.tl.u, q.tl.v}).second);
            ++quads;
            EXPECT_GT(q.tl.x, lastX);  // still in reading order, one advance apart
            lastX = q.tl.x;
            for (float c : {q.tl.u, q.tl.v, q.br.u, q.br.v}) {
                EXPECT_GE(c, 0.0f);
                EXPECT_LE(c, 1.0f);
            }
        }
    }
    EXPECT_EQ(quads, 30u);
    EXPECT_FLOAT_EQ(lastX, 29 * 18 + 0.5f);
}

TEST_F(FontTest, AGlyphLargerThanAnyAtlasKeepsItsAdvanceAndDrawsNothing) {
    fake.hugeGlyph = 'W';
    MakeFont({32, 64});
    Draw("AWB");
    auto q = LastQuads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_FLOAT_EQ(q[1].tl.x, 16 + 0.5f);
    Draw("W");
    EXPECT_EQ(fake.calls['W'], 1);  // remembered as inkless, not asked again
}
