// What a busy 2D frame costs: 1,000 sprites cut from one 256 x 256 picture in a texture slot
// and 200 lines of drop-shadowed text (Japanese and ASCII mixed, Shift-JIS), between
// BeginScene and Present, on the recording backend (the device's own cost) and on the OpenGL
// backend offscreen (the GPU work finished with glFinish, so the frame is complete).
//
// Arguments: the sprites' edge in pixels, and what the frame holds (sprites 1, text 2, and 4
// for every fourth sprite additive, which switches the blend mode 500 times a frame).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/sjis.h"
#include "bench_device.h"
#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"

namespace {

constexpr int kSprites = 1000;
constexpr int kTextLines = 200;
constexpr int kLineHeight = 20;

// The codec and the glyph source, installed once for the whole run.
struct TextHost {
    IconvCodec codec;
    FreeTypeRasterizer rasterizer;
    std::vector<std::string> lines;  // Shift-JIS

    TextHost() {
        g_Host.codec = &codec;
        SetGlyphRasterizer(&rasterizer);
        const char* utf8[] = {
            "HP 120/150  MP 35/40  ハルロはポーションを使った！",
            "Lv.12 ハルロ  EXP 3400 / 5000  次のレベルまで 1600",
            "「この先の森には、夜になると魔物が出るらしい。」",
            "宝箱を開けた！ 100 Gold と 薬草 x3 を手に入れた。",
            "攻撃力 45  防御力 32  素早さ 28  運 7",
            "セーブしますか？  Yes / No",
            "Escape : メニューを閉じる   Enter : 決定",
            "第3章  森の奥へ ― Chapter 3: Into the Forest",
        };
        for (const char* u : utf8) lines.push_back(ToSjis(u));
    }
};

TextHost& Text() {
    static TextHost host;
    return host;
}

// A 256 x 256 picture with eight by eight cells of colour and a soft alpha edge, in slot 0.
void FillSpriteSheet() {
    GfxTexture* t = nullptr;
    if (g_pd3dDevice->CreateTexture(256, 256, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &t) !=
        kOk)
        return;
    LockedRect r;
    if (t->LockRect(0, &r) == kOk) {
        for (uint32_t y = 0; y < 256; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.bits) + y * r.pitch);
            for (uint32_t x = 0; x < 256; ++x) {
                uint32_t cell = (y / 32) * 8 + x / 32;
                uint32_t edge =
                    std::min(std::min(x % 32, 31 - x % 32), std::min(y % 32, 31 - y % 32));
                uint32_t alpha = edge >= 4 ? 255 : edge * 64;
                row[x] = alpha << 24 | (cell * 37 & 255) << 16 | (cell * 91 & 255) << 8 |
                         (cell * 13 & 255);
            }
        }
        t->UnlockRect(0);
    }
    g_TextureSlots[0] = TextureSlot{t, 256, 256};
}

// What a frame draws between BeginScene and EndScene.
enum Parts { kNothing = 0, kSpritesOnly = 1, kTextOnly = 2, kSpritesAndText = 3, kMixedBlend = 4 };

// One frame as the game's loop runs it: clear, scene, sprites, text, present.
void DrawFrame(int spriteSize, int parts, const std::vector<std::string>& lines) {
    GfxDevice* dev = g_pd3dDevice;
    dev->Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    dev->BeginScene();
    const TextureSlot& sheet = g_TextureSlots[0];
    const int cellsPerRow = 256 / spriteSize;
    for (int i = 0; i < kSprites && (parts & kSpritesOnly); ++i) {
        // Positions spread over the screen without a pattern the rasteriser could exploit.
        float x = float((i * 97) % (640 - spriteSize));
        float y = float((i * 61) % (480 - spriteSize));
        int cell = i % (cellsPerRow * cellsPerRow);
        if (i % 10 == 0) {
            SetSpriteRotation(float(i % 360), spriteSize / 2.0f, spriteSize / 2.0f);
            SetSpriteScale(1.5f, 1.5f);
        }
        if ((parts & kMixedBlend) && i % 4 == 0) SetSpriteBlend(1, 0xFFFFFFFF);
        DrawSprite(x, y, sheet, (cell % cellsPerRow) * spriteSize,
                   (cell / cellsPerRow) * spriteSize, spriteSize, spriteSize);
    }
    for (int i = 0; i < kTextLines && (parts & kTextOnly); ++i) {
        const std::string& line = lines[size_t(i) % lines.size()];
        int y = (i * kLineHeight) % (480 - kLineHeight);
        DrawShadowText(line.c_str(), 8 + (i / 24) * 4, y, 255, 255, 255);
    }
    dev->EndScene();
    dev->Present();
}

void RunFrames(benchmark::State& state, BenchDevice::Kind kind) {
    Text();
    BenchDevice device;
    if (!device.Start(state, kind)) return;
    const int spriteSize = int(state.range(0));
    const int parts = int(state.range(1));
    const auto& lines = Text().lines;
    if (!g_pFont || !g_pFont->HasFace()) {
        state.SkipWithError("no font face: the text would draw nothing");
        return;
    }
    FillSpriteSheet();
    // The first frame rasterises the glyphs and uploads the textures; the game pays that once.
    DrawFrame(spriteSize, parts, lines);
    device.Finish();
    device.StartCounting();
    for (auto _ : state) {
        DrawFrame(spriteSize, parts, lines);
        device.Finish();
    }
    device.Report(state);
}

// Sprite edge 32 with sprites and text (parts 3) is the frame to judge; the others split its
// cost: edge 8 leaves little to fill, edge 64 four times as much, each part alone shows its
// share, parts 0 is the clear and present alone, and parts 7 adds the blend switches.
void FrameArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"sprite_px", "parts"});
    b->Args({32, kSpritesAndText});
    b->Args({8, kSpritesAndText});
    b->Args({64, kSpritesAndText});
    b->Args({32, kSpritesOnly});
    b->Args({32, kTextOnly});
    b->Args({32, kNothing});  // clear and present alone
    b->Args({32, kSpritesAndText | kMixedBlend});
    b->Unit(benchmark::kMicrosecond);
}

void BM_Frame2D_Recording(benchmark::State& state) {
    RunFrames(state, BenchDevice::kRecording);
}
BENCHMARK(BM_Frame2D_Recording)->Apply(FrameArgs);

void BM_Frame2D_OpenGL(benchmark::State& state) {
    RunFrames(state, BenchDevice::kOpenGl);
}
// Real time: a software rasteriser does part of the work on threads of its own.
BENCHMARK(BM_Frame2D_OpenGL)->Apply(FrameArgs)->UseRealTime();

}  // namespace
