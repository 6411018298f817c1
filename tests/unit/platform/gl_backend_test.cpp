// Pixel tests of the GL backend: coverage, blending, winding and culling, depth, shading, index
// guards, the texture stage, presentation and screenshots. (The perspective of world triangles is
// in every picture of the play-through.)
#include <stb_image.h>

#include <filesystem>
#include <tuple>

#include "gfx/png_writer.h"
#include "gl_test_support.h"
#include "test_support.h"

namespace {

class GlBackendTest : public GlPixelTest {
protected:
    void AlphaBlending() {
        device->SetRenderState(RenderState::AlphaBlendEnable, 1u);
        device->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
        device->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    }
};

TEST_F(GlBackendTest, ScreenRectanglesCoverExactlyTheirPixelsAndBlend) {
    device->Clear(kClearTarget, 0x00336699, 1.0f, 0);
    Read();
    EXPECT_EQ(CountPixels(0x336699), kTargetWidth * kTargetHeight);
    device->SetRenderState(RenderState::ZEnable, 0u);
    AlphaBlending();
    DrawRect(0, 0, 640, 480, 0xFFC86432);

    // Black at alpha 128 darkens everything to about half.
    DrawRect(0, 0, 640, 480, 0x80000000);
    Read();
    uint32_t half = Pixel(0, 0);
    EXPECT_TRUE(ColourNear(half, 0xFF643219, 1));
    EXPECT_EQ(CountPixels(half), kTargetWidth * kTargetHeight);

    // Pixel centres sit on integer coordinates: a 10 x 5 rectangle at (20, 30) fills columns
    // 20..29 and rows 30..34 and nothing else.
    DrawRect(20, 30, 10, 5, kGreen);
    Read();
    EXPECT_EQ(CountPixels(kGreen), 50);
    EXPECT_EQ(Pixel(20, 30), kGreen);
    EXPECT_EQ(Pixel(29, 34), kGreen);
}

// A triangle going top-left, top-right, bottom-left is clockwise on the screen (y down).
TEST_F(GlBackendTest, CullModesFollowScreenWindingAndRowsReadTopDown) {
    auto draw = [this] {
        device->Clear(kClearTarget, kClearColour, 1.0f, 0);
        DrawTriangle(Sv(10, 10, kRed), Sv(200, 10, kRed), Sv(10, 200, kRed));       // clockwise
        DrawTriangle(Sv(400, 10, kBlue), Sv(400, 200, kBlue), Sv(600, 10, kBlue));  // counter
        Read();
    };
    device->SetRenderState(RenderState::CullMode, Cull::None);
    draw();
    EXPECT_EQ(Pixel(20, 20), kRed);  // near the top of the picture
    EXPECT_EQ(Pixel(410, 20), kBlue);
    EXPECT_EQ(Pixel(20, 460), 0xFF000000 | kClearColour);

    device->SetRenderState(RenderState::CullMode, Cull::Clockwise);
    draw();
    EXPECT_EQ(CountPixels(kRed), 0);
    EXPECT_EQ(Pixel(410, 20), kBlue);

    device->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    draw();
    EXPECT_EQ(Pixel(20, 20), kRed);
    EXPECT_EQ(CountPixels(kBlue), 0);
}

TEST_F(GlBackendTest, DepthStatesDecideWhichTriangleStays) {
    auto draw = [this](float zFirst, float zSecond, float clearZ = 1.0f) {
        device->Clear(kClearTarget | kClearZBuffer, kClearColour, clearZ, 0);
        DrawTriangle(Sv(0, 0, kRed, zFirst), Sv(300, 0, kRed, zFirst), Sv(0, 300, kRed, zFirst));
        DrawTriangle(Sv(0, 0, kGreen, zSecond), Sv(300, 0, kGreen, zSecond),
                     Sv(0, 300, kGreen, zSecond));
        Read();
        return Pixel(50, 50);
    };
    device->SetRenderState(RenderState::ZEnable, 1u);
    device->SetRenderState(RenderState::ZFunc, Cmp::LessEqual);
    EXPECT_EQ(draw(0.3f, 0.6f), kRed);
    EXPECT_EQ(draw(0.6f, 0.3f), kGreen);
    EXPECT_EQ(draw(0.3f, 0.3f), kGreen);  // equal depth passes less-or-equal
    device->SetRenderState(RenderState::ZFunc, Cmp::Less);
    EXPECT_EQ(draw(0.3f, 0.3f), kRed);
    device->SetRenderState(RenderState::ZFunc, Cmp::Greater);
    EXPECT_EQ(draw(0.3f, 0.6f, 0.0f), kGreen);
    device->SetRenderState(RenderState::ZFunc, Cmp::LessEqual);
    device->SetRenderState(RenderState::ZWriteEnable, 0u);
    EXPECT_EQ(draw(0.3f, 0.6f), kGreen);  // the first left no depth behind
    device->SetRenderState(RenderState::ZWriteEnable, 1u);
    device->SetRenderState(RenderState::ZEnable, 0u);
    EXPECT_EQ(draw(0.3f, 0.6f, 0.0f), kGreen);
}

TEST_F(GlBackendTest, FlatShadingTakesTheFirstVertexColour) {
    auto draw = [this] {
        device->Clear(kClearTarget, kClearColour, 1.0f, 0);
        DrawTriangle(Sv(100, 100, kRed), Sv(400, 100, kGreen), Sv(100, 400, kBlue));
        Read();
    };
    device->SetRenderState(RenderState::ShadeMode, Shade::Flat);
    draw();
    EXPECT_EQ(Pixel(200, 200), kRed);

    device->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    draw();
    EXPECT_TRUE(ColourNear(Pixel(200, 200), 0xFF555555, 4));
    EXPECT_TRUE(ColourNear(Pixel(105, 390), kBlue, 12));
}

TEST_F(GlBackendTest, IndicesPastTheVerticesDropOnlyTheirPrimitives) {
    device->SetVertexShader(kFvfScreenVertex);
    TestScreenVertex v[4] = {Sv(10, 10, kRed), Sv(110, 10, kRed), Sv(10, 110, kRed),
                             Sv(110, 110, kRed)};
    const uint16_t list[6] = {0, 1, 2, 1, 3, 60000};
    EXPECT_EQ(
        device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, list, v, sizeof v[0]),
        kOk);
    Read();
    EXPECT_EQ(Pixel(20, 20), kRed);
    EXPECT_NE(Pixel(100, 100), kRed);

    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The operations themselves are checked against their formulas in the stage tests.
TEST_F(GlBackendTest, WithoutATextureTheDiffuseColourPassesAndSpecularAddsOnlyWhenEnabled) {
    device->SetRenderState(RenderState::ZEnable, 0u);
    DrawRect(0, 0, 10, 10, 0xFF804020);
    GfxTexture* grey = MakeTexture(1, 1, PixelFormat::A8R8G8B8, {0x80, 0x80, 0x80, 0xFF});
    device->SetTexture(0, grey);
    device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Disable);
    DrawRect(10, 0, 10, 10, 0xFF0000FF);  // a disabled stage ignores the texture too
    Read();
    EXPECT_EQ(Pixel(5, 5), 0xFF804020u);
    EXPECT_EQ(Pixel(15, 5), 0xFF0000FFu);
    grey->Release();
    device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg2);
    TestScreenVertex v[3] = {Sv(0, 0, 0xFF808080), Sv(20, 0, 0xFF808080), Sv(0, 20, 0xFF808080)};
    for (auto& x : v) x.specular = 0x00303030;
    DrawTriangle(v[0], v[1], v[2]);
    Read();
    EXPECT_EQ(Pixel(2, 2), 0xFF808080u);
    device->SetRenderState(RenderState::SpecularEnable, 1u);
    DrawTriangle(v[0], v[1], v[2]);
    Read();
    EXPECT_EQ(Pixel(2, 2), 0xFFB0B0B0u);
}

TEST_F(GlBackendTest, DestinationAlphaStaysOneThroughClearsAndBlending) {
    device->SetRenderState(RenderState::ZEnable, 0u);
    AlphaBlending();
    // Neither a translucent draw nor a clear with alpha zero changes the target's alpha.
    DrawRect(0, 0, 20, 20, 0x40FF0000);
    device->Clear(kClearTarget, 0x00000000, 1.0f, 0);
    DrawRect(0, 0, 20, 20, 0x40FF0000);
    // "Destination alpha" blending copies the source where the target's alpha is one.
    device->SetRenderState(RenderState::SrcBlend, Blend::DestAlpha);
    device->SetRenderState(RenderState::DestBlend, Blend::InvDestAlpha);
    DrawRect(5, 5, 10, 10, 0x0000FF00);
    Read();
    EXPECT_EQ(Pixel(10, 10), kGreen);
    EXPECT_TRUE(ColourNear(Pixel(2, 2), 0xFF400000, 1));
}

TEST_F(GlBackendTest, WireframeDrawsEdgesOnly) {
    device->SetRenderState(RenderState::FillMode, Fill::Wireframe);
    DrawRect(100, 100, 100, 100, kRed);
    Read();
    EXPECT_NE(Pixel(150, 130), kRed);
    EXPECT_GT(CountPixels(kRed), 200);
    EXPECT_LT(CountPixels(kRed), 1000);
}

TEST(PresentRect, KeepsFourThreeCentredWithBlackBars) {
    const auto fit = PresentScale::Fit, integer = PresentScale::Integer;
    // Smaller than one picture, integer scaling falls back to fitting.
    const std::tuple<int, int, PresentScale, std::array<int, 4>> cases[] = {
        {1920, 1080, fit, {240, 0, 1440, 1080}}, {1920, 1080, integer, {320, 60, 1280, 960}},
        {1000, 2000, fit, {0, 625, 1000, 750}},  {640, 480, integer, {0, 0, 640, 480}},
        {320, 240, integer, {0, 0, 320, 240}},   {0, 0, fit, {0, 0, 0, 0}}};
    for (const auto& [w, h, scale, want] : cases) {
        auto r = GlBackend::PresentRectFor(w, h, scale);
        EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}), want) << w << "x" << h;
    }
}

TEST_F(GlBackendTest, PresentKeepsTheTargetAndScreenshotsRoundTripThroughPng) {
    DrawRect(0, 0, 320, 240, 0xFF123456);
    device->Present();
    DrawRect(320, 0, 64, 48, kRed);
    std::vector<uint32_t> argb;
    ASSERT_TRUE(backend->ReadPixels(argb));
    std::string path = MakeTempDir("shot") + "/shot.png";
    ASSERT_TRUE(WritePng(path, argb, kTargetWidth, kTargetHeight));
    int w = 0, h = 0, n = 0;
    unsigned char* rgba = stbi_load(path.c_str(), &w, &h, &n, 4);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(w, kTargetWidth);
    EXPECT_EQ(h, kTargetHeight);
    EXPECT_EQ(std::vector<uint8_t>(rgba, rgba + 4), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0xFF}));
    EXPECT_EQ(rgba[320 * 4], 0xFF);  // drawn after the present
    size_t last = (size_t(kTargetWidth) * kTargetHeight - 1) * 4;
    EXPECT_EQ(rgba[last], (kClearColour >> 16) & 255);
    stbi_image_free(rgba);
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());

    EXPECT_FALSE(WritePng(path, argb, kTargetWidth, kTargetHeight + 1));  // size and pixels differ
}

}  // namespace
