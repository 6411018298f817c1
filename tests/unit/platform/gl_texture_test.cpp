// Texture upload and sampling of the GL backend: filters, addressing, every pixel format, S3TC
// (driver and CPU decoder) and mip levels. (Texel-for-pixel placement is in every picture of the
// play-through.)
#include <random>

#include "gl_test_support.h"
#include "platform/gl_texture_upload.h"

namespace {

class GlTextureTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        device->SetRenderState(RenderState::ZEnable, 0u);
        device->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
        device->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
    }
};

TEST_F(GlTextureTest, FiltersAndAddressModes) {
    GfxTexture* t = ArgbTexture({0xFF000000, 0xFFFFFFFF}, 2, 1);
    device->SetTexture(0, t);
    DrawRect(0, 0, 64, 4, 0xFFFFFFFF);
    device->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Linear);
    DrawRect(0, 10, 64, 4, 0xFFFFFFFF);
    Read();
    EXPECT_EQ(Pixel(31, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(32, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(ColourNear(Pixel(32, 10), 0xFF808080, 8));  // a ramp between the two texels

    device->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
    // u over two widths in 8 pixels (a quarter texel off the edges): the texels again, the
    // edge texel, or the texels mirrored.
    auto row = [this](TextureAddress mode, int y) {
        device->SetTextureStageState(0, TextureStageState::AddressU, mode);
        DrawRect(0, float(y), 8, 1, 0xFFFFFFFF, 0.0625f, 0, 2.0625f, 1);
    };
    row(TextureAddress::Wrap, 20);
    row(TextureAddress::Clamp, 21);
    row(TextureAddress::Mirror, 22);
    Read();
    const uint32_t k = 0xFF000000u, w = 0xFFFFFFFFu;
    EXPECT_EQ(Region(0, 20, 8, 1), (std::vector<uint32_t>{k, k, w, w, k, k, w, w}));  // wrap
    EXPECT_EQ(Region(0, 21, 8, 1), (std::vector<uint32_t>{k, k, w, w, w, w, w, w}));  // clamp
    EXPECT_EQ(Region(0, 22, 8, 1), (std::vector<uint32_t>{k, k, w, w, w, w, k, k}));  // mirror
    t->Release();
}

struct FormatCase {
    const char* name;
    PixelFormat format;
    std::vector<uint8_t> texel;  // one texel, as the format lays it out in memory
    uint32_t expected;           // A8R8G8B8
    int tolerance;
};

// Each format's texel, drawn with alpha blending over grey, must show its colour mixed by its
// alpha; formats without alpha are opaque whatever their spare bits hold.
TEST_F(GlTextureTest, EveryPixelFormatSamplesToItsColour) {
    const FormatCase cases[] = {
        {"A8R8G8B8", PixelFormat::A8R8G8B8, {0x40, 0x80, 0xC0, 0x80}, 0x80C08040, 1},
        {"X8R8G8B8", PixelFormat::X8R8G8B8, {0x40, 0x80, 0xC0, 0x00}, 0xFFC08040, 0},
        {"R8G8B8", PixelFormat::R8G8B8, {0x40, 0x80, 0xC0}, 0xFFC08040, 0},
        {"R5G6B5 mixed", PixelFormat::R5G6B5, {0x10, 0x84}, 0xFF848284, 2},
        {"X1R5G5B5", PixelFormat::X1R5G5B5, {0x00, 0x7C}, 0xFFFF0000, 0},
        {"A1R5G5B5 clear", PixelFormat::A1R5G5B5, {0xE0, 0x03}, 0x0000FF00, 0},
        {"A1R5G5B5 solid", PixelFormat::A1R5G5B5, {0xE0, 0x83}, 0xFF00FF00, 0},
        {"A4R4G4B4", PixelFormat::A4R4G4B4, {0x40, 0x8F}, 0x88FF4400, 1},
        {"X4R4G4B4", PixelFormat::X4R4G4B4, {0x40, 0x0F}, 0xFFFF4400, 0},
        {"R3G3B2", PixelFormat::R3G3B2, {0xE3}, 0xFFFF00FF, 0},
        {"A8", PixelFormat::A8, {0x80}, 0x80000000, 1},
    };
    device->SetRenderState(RenderState::AlphaBlendEnable, 1u);
    device->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        device->Clear(kClearTarget, 0xFF808080, 1.0f, 0);
        std::vector<uint8_t> bytes;
        for (int i = 0; i < 4; ++i) bytes.insert(bytes.end(), c.texel.begin(), c.texel.end());
        GfxTexture* t = MakeTexture(2, 2, c.format, bytes);
        device->SetTexture(0, t);
        DrawRect(0, 0, 4, 4, 0xFFFFFFFF);
        Read();
        double a = double(c.expected >> 24) / 255.0;
        uint32_t blended = 0xFF000000;
        for (int shift = 0; shift <= 16; shift += 8)
            blended |=
                uint32_t(std::lround(double((c.expected >> shift) & 255) * a + 128.0 * (1.0 - a)))
                << shift;
        EXPECT_TRUE(ColourNear(Pixel(1, 1), blended, c.tolerance + 1));
        t->Release();
    }
}

// One DXT1 block: red and blue end points, one row per palette entry.
std::vector<uint8_t> Dxt1Block(uint16_t c0, uint16_t c1) {
    return {uint8_t(c0), uint8_t(c0 >> 8), uint8_t(c1), uint8_t(c1 >> 8), 0x00, 0x55, 0xAA, 0xFF};
}

TEST_F(GlTextureTest, Dxt1BlocksSampleToTheirPalette) {
    for (bool cpu : {false, true}) {
        SCOPED_TRACE(cpu ? "decoded on the CPU" : "uploaded compressed");
        backend->SetForceCpuDxt(cpu);
        device->Clear(kClearTarget, 0xFF000000, 1.0f, 0);
        GfxTexture* t = MakeTexture(4, 4, PixelFormat::Dxt1, Dxt1Block(0xF800, 0x001F));
        device->SetTexture(0, t);
        DrawRect(0, 0, 4, 4, 0xFFFFFFFF);
        // Three-colour mode (c0 <= c1): entry 3 is transparent black.
        GfxTexture* t3 = MakeTexture(4, 4, PixelFormat::Dxt1, Dxt1Block(0x001F, 0xF800));
        device->SetTexture(0, t3);
        device->SetRenderState(RenderState::AlphaTestEnable, 1u);
        device->SetRenderState(RenderState::AlphaFunc, Cmp::Greater);
        device->SetRenderState(RenderState::AlphaRef, 0u);
        DrawRect(10, 0, 4, 4, 0xFFFFFFFF);
        device->SetRenderState(RenderState::AlphaTestEnable, 0u);
        Read();
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(Pixel(x, 0), kRed);
            EXPECT_EQ(Pixel(x, 1), kBlue);
            EXPECT_TRUE(ColourNear(Pixel(x, 2), 0xFFAA0055, 1));
            EXPECT_TRUE(ColourNear(Pixel(x, 3), 0xFF5500AA, 1));
            EXPECT_EQ(Pixel(10 + x, 0), kBlue);
            EXPECT_EQ(Pixel(10 + x, 1), kRed);
            EXPECT_TRUE(ColourNear(Pixel(10 + x, 2), 0xFF800080, 1));
            EXPECT_EQ(Pixel(10 + x, 3), 0xFF000000u);  // discarded by the alpha test
        }
        t->Release();
        t3->Release();
    }
    backend->SetForceCpuDxt(false);
}

// The CPU decoder must agree with the driver on arbitrary blocks of every S3TC format.
TEST_F(GlTextureTest, CpuDecoderMatchesTheDriver) {
    if (!backend->DriverHasS3tc()) GTEST_SKIP() << "the driver cannot sample S3TC textures";
    std::mt19937 rng(1234);
    for (PixelFormat f : {PixelFormat::Dxt1, PixelFormat::Dxt3, PixelFormat::Dxt5}) {
        SCOPED_TRACE(uint32_t(f));
        std::vector<uint8_t> bytes(GfxTexture::SizeFor(f, 16, 16));
        for (auto& b : bytes) b = uint8_t(rng());
        std::vector<uint32_t> images[2];
        for (bool cpu : {false, true}) {
            backend->SetForceCpuDxt(cpu);
            device->Clear(kClearTarget, 0xFF000000, 1.0f, 0);
            GfxTexture* t = MakeTexture(16, 16, f, bytes);
            device->SetTexture(0, t);
            device->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
            device->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
            DrawRect(0, 0, 16, 16, 0xFFFFFFFF);
            // The alpha, shown as grey through the replicate modifier.
            device->SetTextureStageState(0, TextureStageState::ColorArg1, 0x22u);
            DrawRect(20, 0, 16, 16, 0xFFFFFFFF);
            device->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
            Read();
            images[cpu] = Region(0, 0, 36, 16);
            t->Release();
        }
        int apart = 0;
        for (size_t i = 0; i < images[0].size(); ++i)
            apart += !ColourNear(images[1][i], images[0][i], 2);
        EXPECT_EQ(apart, 0);
    }
    backend->SetForceCpuDxt(false);
}

TEST_F(GlTextureTest, EachMipLevelIsSampledAtItsSize) {
    GfxTexture* t = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 3, 0, PixelFormat::A8R8G8B8, Pool::Managed, &t), kOk);
    const uint32_t colours[3] = {kRed, kGreen, kBlue};
    for (uint32_t level = 0; level < 3; ++level) {
        LockedRect r;
        ASSERT_EQ(t->LockRect(level, &r), kOk);
        auto* p = static_cast<uint32_t*>(r.bits);
        for (size_t i = 0; i < t->LevelData(level).size() / 4; ++i) p[i] = colours[level];
        t->UnlockRect(level);
    }
    device->SetTexture(0, t);
    device->SetTextureStageState(0, TextureStageState::MipFilter, TextureFilter::Point);
    DrawRect(0, 0, 4, 4, 0xFFFFFFFF);
    DrawRect(10, 0, 2, 2, 0xFFFFFFFF);
    DrawRect(20, 0, 1, 1, 0xFFFFFFFF);
    Read();
    EXPECT_EQ(Pixel(1, 1), kRed);
    EXPECT_EQ(Pixel(10, 0), kGreen);
    EXPECT_EQ(Pixel(20, 0), kBlue);

    t->Release();
}

// Every format's alpha and palette modes are compared with the driver above; this covers what
// the driver never sees: partial blocks and data shorter than the level.
TEST(DxtDecoder, ClipsPartialBlocksAndRefusesShortData) {
    std::vector<uint8_t> colour = Dxt1Block(0x001F, 0xF800);
    std::vector<uint32_t> out;
    // A 2 x 2 level uses the top-left of its block; short data is refused.
    ASSERT_TRUE(DecodeDxt(PixelFormat::Dxt1, colour.data(), colour.size(), 2, 2, out));
    EXPECT_EQ(out, (std::vector<uint32_t>{0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000}));
    EXPECT_FALSE(DecodeDxt(PixelFormat::Dxt1, colour.data(), 7, 4, 4, out));
    EXPECT_FALSE(DecodeDxt(PixelFormat::A8R8G8B8, colour.data(), colour.size(), 4, 4, out));
}

}  // namespace
