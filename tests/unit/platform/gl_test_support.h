#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/device.h"
#include "platform/sdl_window.h"

// Opaque colours the GL tests draw with and read back.
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// Vertex layouts the pixel tests draw with.
struct TestScreenVertex {  // 0x1C4
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
struct TestWorldVertex {  // 0x1C2
    float x, y, z;
    uint32_t diffuse, specular;
    float u, v;
};
struct TestLitVertex {  // 0x112
    float x, y, z, nx, ny, nz, u, v;
};

// One offscreen GL window shared by every pixel test of the program; null when no context
// can be made (the tests then skip and say why).
SdlGlContext* SharedGlContext(std::string* whyNot = nullptr);

// A fresh device on the shared GL backend for each test, with the target cleared to
// kClearColour and depth 1, lighting off and no culling.
class GlPixelTest : public ::testing::Test {
protected:
    static constexpr uint32_t kClearColour = 0xFF102030;

    void SetUp() override;
    void TearDown() override;

    // Reads the target back (top row first); Pixel() then looks into that copy.
    void Read();
    uint32_t Pixel(int x, int y) const { return pixels_[size_t(y) * kTargetWidth + x]; }
    int CountPixels(uint32_t argb) const;
    // The pixels of a w x h region of the copy, row by row.
    std::vector<uint32_t> Region(int x, int y, int w, int h) const;

    // A screen-space rectangle as two triangles of one colour, textured from (u0,v0) to (u1,v1).
    void DrawRect(float x, float y, float w, float h, uint32_t colour, float u0 = 0, float v0 = 0,
                  float u1 = 1, float v1 = 1);
    // One screen-space triangle.
    void DrawTriangle(const TestScreenVertex& a, const TestScreenVertex& b,
                      const TestScreenVertex& c);
    static TestScreenVertex Sv(float x, float y, uint32_t colour, float z = 0, float u = 0,
                               float v = 0);
    // A texture of the given format whose top level holds `bytes`.
    GfxTexture* MakeTexture(uint32_t w, uint32_t h, PixelFormat format,
                            const std::vector<uint8_t>& bytes);
    // An A8R8G8B8 texture of w x h texels given row by row (one texel by default).
    GfxTexture* ArgbTexture(const std::vector<uint32_t>& texels, uint32_t w = 1, uint32_t h = 1);

    GlBackend* backend = nullptr;
    std::unique_ptr<GfxDevice> device;

private:
    std::vector<uint32_t> pixels_;
};

// An opaque A8R8G8B8 colour of channels from 0 to 1 (clamped).
uint32_t ToArgb(double r, double g, double b);

// Channel-wise comparison of two A8R8G8B8 colours (alpha ignored).
::testing::AssertionResult ColourNear(uint32_t actual, uint32_t expected, int tolerance);
