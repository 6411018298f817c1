// Draws held back and merged by the GL backend must come out exactly as if each had been drawn
// on its own: state changes between them, texture changes, reads and presents in the middle.
#include <algorithm>
#include <utility>

#include "gl_test_support.h"

namespace {

class GlBatchTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        device->SetRenderState(RenderState::ZEnable, 0u);
    }
    static void Fill(GfxTexture* t, uint32_t argb) {
        LockedRect r;
        ASSERT_EQ(t->LockRect(0, &r), kOk);
        *static_cast<uint32_t*>(r.bits) = argb;
        t->UnlockRect(0);
    }
};

TEST_F(GlBatchTest, StateChangesBetweenDrawsApplyFromThatDrawOn) {
    device->BeginScene();
    // Overlapping rectangles under one state: the later one covers the earlier.
    DrawRect(0, 0, 20, 20, kRed);
    DrawRect(10, 10, 20, 20, kGreen);
    // Additive blending from here: green over red, then blue added onto both.
    device->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    device->SetRenderState(RenderState::SrcBlend, Blend::One);
    device->SetRenderState(RenderState::DestBlend, Blend::One);
    DrawRect(5, 0, 20, 5, kBlue);
    // Back to plain drawing, then a texture factor that only a later stage set-up reads.
    device->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    DrawRect(40, 0, 10, 10, kRed);
    device->SetRenderState(RenderState::TextureFactor, 0xFF123456u);
    device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    device->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::TFactor);
    DrawRect(45, 0, 10, 10, kRed);
    device->EndScene();
    Read();

    EXPECT_EQ(Pixel(2, 8), kRed);
    EXPECT_EQ(Pixel(15, 15), kGreen);
    EXPECT_EQ(Pixel(6, 2), 0xFFFF00FFu);   // red + blue
    EXPECT_EQ(Pixel(42, 5), kRed);         // drawn before the stage changed
    EXPECT_EQ(Pixel(47, 5), 0xFF123456u);  // drawn after
}

TEST_F(GlBatchTest, WorldDrawsFollowTheirOwnMatrices) {
    // The same unit triangle under two world matrices, drawn back to back.
    device->SetVertexShader(kFvfWorldVertex);
    TestWorldVertex v[3] = {{-0.5f, 0.5f, 0.5f, kRed, 0, 0, 0},
                            {0.0f, 0.5f, 0.5f, kRed, 0, 0, 0},
                            {-0.5f, 0.0f, 0.5f, kRed, 0, 0, 0}};
    ASSERT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof v[0]), kOk);
    Matrix44 moved{};
    for (int i = 0; i < 4; ++i) moved.m[i][i] = 1;
    moved.m[3][0] = 1.0f;  // half the screen to the right
    device->SetTransform(TransformType::World, moved);
    for (auto& x : v) x.diffuse = kGreen;
    ASSERT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof v[0]), kOk);
    Read();
    // NDC (-0.4, 0.4) is pixel (192, 144); one unit right is 320 pixels further.
    EXPECT_EQ(Pixel(192, 144), kRed);
    EXPECT_EQ(Pixel(512, 144), kGreen);
}

TEST_F(GlBatchTest, ATextureChangedBetweenDrawsIsSeenOnlyByTheLaterOne) {
    GfxTexture* t = ArgbTexture({kRed});
    device->SetTexture(0, t);
    device->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    DrawRect(0, 0, 10, 10, 0xFFFFFFFF);
    Fill(t, kGreen);
    DrawRect(20, 0, 10, 10, 0xFFFFFFFF);
    Fill(t, kBlue);
    DrawRect(40, 0, 10, 10, 0xFFFFFFFF);
    Read();
    EXPECT_EQ(Pixel(5, 5), kRed);
    EXPECT_EQ(Pixel(25, 5), kGreen);
    EXPECT_EQ(Pixel(45, 5), kBlue);
    t->Release();
}

TEST_F(GlBatchTest, ReadsAndPresentsMidFrameSeeEverythingDrawnSoFar) {
    device->BeginScene();
    DrawRect(0, 0, 10, 10, kRed);
    DrawRect(10, 0, 10, 10, kGreen);
    Read();
    EXPECT_EQ(Pixel(5, 5), kRed);
    EXPECT_EQ(Pixel(15, 5), kGreen);

    DrawRect(30, 0, 10, 10, kRed);
    device->EndScene();
    device->Present();
    Read();
    EXPECT_EQ(Pixel(35, 5), kRed);

    // A clear keeps its place between the draws around it.
    device->BeginScene();
    DrawRect(40, 0, 10, 10, kGreen);
    device->Clear(kClearTarget, kClearColour, 1.0f, 0);
    DrawRect(50, 0, 10, 10, kBlue);
    device->EndScene();
    Read();
    EXPECT_EQ(Pixel(45, 5), 0xFF000000u | kClearColour);
    EXPECT_EQ(Pixel(55, 5), kBlue);
}

TEST_F(GlBatchTest, UniformValuesDoNotCompileNewPrograms) {
    device->SetRenderState(RenderState::AlphaTestEnable, 1u);
    device->SetRenderState(RenderState::AlphaFunc, Cmp::Greater);
    DrawRect(0, 0, 4, 4, kRed);
    Read();
    const size_t programs = backend->ProgramCount();
    // Alpha references, texture factors and matrices are values, not code.
    for (uint32_t i = 0; i < 50; ++i) {
        device->SetRenderState(RenderState::AlphaRef, i);
        device->SetRenderState(RenderState::TextureFactor, 0xFF000000u | i);
        DrawRect(float(i % 20) * 8, 10, 4, 4, kRed);
    }
    Read();
    EXPECT_EQ(backend->ProgramCount(), programs);
    EXPECT_EQ(Pixel(4 * 8 + 1, 11), kRed);
}

}  // namespace

// Draws from a static buffer take their place among the held-back draws from memory and give
// the same pixels; new content, and a buffer made after another was released, draw their own.
TEST_F(GlBatchTest, StaticBuffersDrawInTheirPlaceAsFromMemory) {
    auto quad = [](float x, float y, uint32_t colour, TestScreenVertex* out) {
        for (int k = 0; k < 4; ++k) out[k] = Sv(x + 20.0f * (k & 1), y + 20.0f * (k >> 1), colour);
    };
    TestScreenVertex v[8];
    quad(0, 0, kRed, v);
    quad(10, 10, kGreen, v + 4);
    // The second quad's first triangle names a vertex past the buffer: it is left out.
    const uint16_t idx[15] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 4, 5, 8};
    GfxStaticBuffer* b = nullptr;
    ASSERT_EQ(device->CreateStaticBuffer(&b), kOk);
    b->Set(v, 8, sizeof v[0], idx, 12);
    auto frame = [&](bool fromBuffer) {
        device->Clear(kClearTarget, kClearColour, 1.0f, 0);
        DrawRect(0, 0, 40, 40, kBlue);
        if (fromBuffer)
            device->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 6, 2);  // green only
        else
            device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 8, 2, idx + 6, v,
                                           sizeof v[0]);
        DrawRect(25, 25, 10, 10, kRed);
        Read();
        return Region(0, 0, 48, 48);
    };
    const auto fromBuffer = frame(true);
    EXPECT_EQ(Pixel(2, 2), kBlue);
    EXPECT_EQ(Pixel(15, 15), kGreen);
    EXPECT_EQ(Pixel(28, 28), kRed);
    EXPECT_EQ(fromBuffer, frame(false));

    quad(10, 10, kRed, v + 4);
    b->Set(v, 8, sizeof v[0], idx, 15);
    device->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 6, 3);
    Read();
    EXPECT_EQ(Pixel(15, 15), kRed);
    b->Release();
    GfxStaticBuffer* c = nullptr;
    ASSERT_EQ(device->CreateStaticBuffer(&c), kOk);
    quad(50, 0, kGreen, v);
    c->Set(v, 4, sizeof v[0], idx, 6);
    device->DrawIndexedPrimitive(PrimitiveType::TriangleList, c, 0, 2);
    Read();
    EXPECT_EQ(Pixel(55, 5), kGreen);
    c->Release();
}

// Strips and fans joined into one list draw every pixel as GL draws them as strips and fans:
// the same triangles, the same culled faces, the same flat colours.
TEST_F(GlBatchTest, JoinedStripsAndFansDrawAsGlDrawsThem) {
    device->SetRenderState(RenderState::ShadeMode, Shade::Flat);
    device->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    device->SetVertexShader(kFvfScreenVertex);
    const uint32_t c[6] = {kRed, kGreen, kBlue, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    const uint16_t order[6] = {0, 1, 2, 3, 4, 5};
    auto picture = [&](bool joined) {
        device->Clear(kClearTarget, kClearColour, 1.0f, 0);
        for (int k = 0; k < 4; ++k) {
            const float x = 60.0f * k;
            // A zigzag strip of four triangles, then a fan of four around its first corner.
            // Drawn from memory with room for more vertices than a batch takes, they go to GL
            // as a strip and a fan.
            std::vector<TestScreenVertex> strip(100), fan(100);
            for (int i = 0; i < 6; ++i) {
                strip[i] = Sv(x + 10.0f * i, (i % 2) ? 10.0f : 40.0f, c[(i + k) % 6]);
                fan[i] = i == 0 ? Sv(x + 25, 100, c[k]) : Sv(x + 10.0f * i - 5, 60, c[i]);
            }
            for (auto [type, v] : {std::pair{PrimitiveType::TriangleStrip, strip.data()},
                                   std::pair{PrimitiveType::TriangleFan, fan.data()}}) {
                if (joined)
                    device->DrawPrimitiveUP(type, 4, v, sizeof v[0]);
                else
                    device->DrawIndexedPrimitiveUP(type, 0, 100, 4, order, v, sizeof v[0]);
            }
        }
        Read();
        return Region(0, 0, 240, 110);
    };
    const auto joined = picture(true);
    EXPECT_EQ(joined, picture(false));
    for (uint32_t colour : c) EXPECT_NE(std::count(joined.begin(), joined.end(), colour), 0);
}
