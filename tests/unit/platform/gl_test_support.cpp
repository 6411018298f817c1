#include "gl_test_support.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::unique_ptr<SdlGlContext> g_context;
std::string g_contextError;
bool g_contextTried = false;

// Drops the shared context before the process ends, while SDL and the driver still exist.
class GlContextEnvironment : public ::testing::Environment {
public:
    void TearDown() override { g_context.reset(); }
};
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new GlContextEnvironment);

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace

SdlGlContext* SharedGlContext(std::string* whyNot) {
    if (!g_contextTried) {
        g_contextTried = true;
        WindowOptions o;
        o.offscreen = true;
        g_context = CreateGlWindow(o, &g_contextError);
    }
    if (whyNot) *whyNot = g_contextError;
    return g_context.get();
}

void GlPixelTest::SetUp() {
    std::string why;
    SdlGlContext* ctx = SharedGlContext(&why);
    if (!ctx) {
        GTEST_SKIP() << "no OpenGL 3.3 context can be created here: " << why;
    }
    backend = ctx->backend.get();
    backend->SetForceCpuDxt(false);
    device = std::make_unique<GfxDevice>(backend);
    device->SetRenderState(RenderState::Lighting, 0u);
    device->SetRenderState(RenderState::CullMode, Cull::None);
    device->Clear(kClearTarget | kClearZBuffer, kClearColour, 1.0f, 0);
}

void GlPixelTest::TearDown() {
    device.reset();
    if (backend) {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

void GlPixelTest::Read() {
    ASSERT_TRUE(backend->ReadPixels(pixels_));
}

int GlPixelTest::CountPixels(uint32_t argb) const {
    int n = 0;
    for (uint32_t p : pixels_) n += (p & 0xFFFFFF) == (argb & 0xFFFFFF);
    return n;
}

std::vector<uint32_t> GlPixelTest::Region(int x, int y, int w, int h) const {
    std::vector<uint32_t> out;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) out.push_back(Pixel(col, row));
    return out;
}

TestScreenVertex GlPixelTest::Sv(float x, float y, uint32_t colour, float z, float u, float v) {
    return TestScreenVertex{x, y, z, 1.0f, colour, 0, u, v};
}

void GlPixelTest::DrawRect(float x, float y, float w, float h, uint32_t colour, float u0, float v0,
                           float u1, float v1) {
    TestScreenVertex v[6] = {Sv(x, y, colour, 0, u0, v0),         Sv(x + w, y, colour, 0, u1, v0),
                             Sv(x + w, y + h, colour, 0, u1, v1), Sv(x, y, colour, 0, u0, v0),
                             Sv(x + w, y + h, colour, 0, u1, v1), Sv(x, y + h, colour, 0, u0, v1)};
    device->SetVertexShader(kFvfScreenVertex);
    ASSERT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, v, sizeof v[0]), kOk);
}

void GlPixelTest::DrawTriangle(const TestScreenVertex& a, const TestScreenVertex& b,
                               const TestScreenVertex& c) {
    TestScreenVertex v[3] = {a, b, c};
    device->SetVertexShader(kFvfScreenVertex);
    ASSERT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof v[0]), kOk);
}

GfxTexture* GlPixelTest::MakeTexture(uint32_t w, uint32_t h, PixelFormat format,
                                     const std::vector<uint8_t>& bytes) {
    GfxTexture* t = nullptr;
    EXPECT_EQ(device->CreateTexture(w, h, 1, 0, format, Pool::Managed, &t), kOk);
    if (!t) return nullptr;
    LockedRect r;
    EXPECT_EQ(t->LockRect(0, &r), kOk);
    EXPECT_EQ(bytes.size(), t->LevelData(0).size());
    std::memcpy(r.bits, bytes.data(), std::min(bytes.size(), t->LevelData(0).size()));
    t->UnlockRect(0);
    return t;
}

GfxTexture* GlPixelTest::ArgbTexture(const std::vector<uint32_t>& texels, uint32_t w, uint32_t h) {
    std::vector<uint8_t> bytes;
    for (uint32_t c : texels)
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(c >> (8 * i)));
    return MakeTexture(w, h, PixelFormat::A8R8G8B8, bytes);
}

uint32_t ToArgb(double r, double g, double b) {
    auto c = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return 0xFF000000u | (c(r) << 16) | (c(g) << 8) | c(b);
}

::testing::AssertionResult ColourNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = int((actual >> shift) & 255), e = int((expected >> shift) & 255);
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure()
                   << Hex(actual) << " is not within " << tolerance << " of " << Hex(expected);
    }
    return ::testing::AssertionSuccess();
}
