#include <gtest/gtest.h>

#include <cstring>

#include "gfx/device.h"
#include "gfx/recording_backend.h"

namespace {

struct Vtx {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};

}  // namespace

TEST(GfxDevice, DrawsCarryTheirStateAndOnlyTheVerticesTheyNeed) {
    RecordingBackend rec;
    GfxDevice dev(&rec);
    Vtx v[4] = {};
    for (int i = 0; i < 4; ++i) v[i].x = float(i);
    dev.SetVertexShader(kFvfScreenVertex);
    dev.SetRenderState(RenderState::CullMode, Cull::None);
    ASSERT_EQ(dev.DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, v, sizeof(Vtx)), kOk);
    ASSERT_EQ(rec.draws.size(), 1u);
    EXPECT_EQ(rec.draws[0].vertices.size(), 4 * sizeof(Vtx));
    EXPECT_EQ(rec.draws[0].state.Rs(RenderState::CullMode), uint32_t(Cull::None));
    EXPECT_FLOAT_EQ(rec.Vertex<Vtx>(rec.draws[0], 3).x, 3.0f);
    const uint16_t idx[6] = {0, 1, 2, 2, 3, 0};
    ASSERT_EQ(dev.DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, idx, v, sizeof(Vtx)),
              kOk);
    EXPECT_EQ(rec.draws[1].indices.size(), 6u);

    // A stride shorter than the vertex format, no data, or nothing to draw is refused.
    EXPECT_NE(dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, 16), kOk);
    EXPECT_NE(dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, nullptr, sizeof(Vtx)), kOk);
    EXPECT_NE(dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 0, v, sizeof(Vtx)), kOk);
    EXPECT_NE(dev.SetVertexShader(0x40), kOk);  // no position
    EXPECT_NE(dev.SetLight(kMaxLights, Light{}), kOk);
    EXPECT_EQ(rec.draws.size(), 2u);
}

TEST(GfxDevice, TexturesUploadWhenChangedAndLeaveTheBackendWhenReleased) {
    RecordingBackend rec;
    GfxDevice dev(&rec);
    GfxTexture *sys = nullptr, *tex = nullptr;
    ASSERT_EQ(dev.CreateTexture(8, 4, 0, 0, PixelFormat::A8R8G8B8, Pool::SystemMem, &sys), kOk);
    EXPECT_EQ(sys->GetLevelCount(), 4u);  // 8x4, 4x2, 2x1, 1x1
    ASSERT_EQ(dev.CreateTexture(8, 4, 0, 0, PixelFormat::A8R8G8B8, Pool::Default, &tex), kOk);
    LockedRect r;
    ASSERT_EQ(sys->LockRect(1, &r), kOk);
    EXPECT_EQ(r.pitch, 16);
    std::memset(r.bits, 0xAB, 16 * 2);
    sys->UnlockRect(1);
    ASSERT_EQ(dev.UpdateTexture(sys, tex), kOk);
    EXPECT_EQ(tex->LevelData(1)[0], 0xAB);

    Vtx v[3] = {};
    dev.SetVertexShader(kFvfScreenVertex);
    dev.SetTexture(0, tex);
    dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof(Vtx));
    dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof(Vtx));
    EXPECT_EQ(rec.uploadCount, 1u);  // unchanged since: not uploaded again
    tex->LockRect(0, &r);
    tex->UnlockRect(0);
    dev.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof(Vtx));
    EXPECT_EQ(rec.uploadCount, 2u);

    tex->Release();
    EXPECT_EQ(dev.State().texture, nullptr);  // a released texture is no longer bound
    sys->Release();
    EXPECT_EQ(dev.LiveTextureCount(), 0u);
    EXPECT_EQ(rec.destroyCount, 2u);

    // Sizes the device cannot hold, or formats it does not know, are refused.
    EXPECT_NE(dev.CreateTexture(0, 4, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &tex), kOk);
    EXPECT_EQ(tex, nullptr);
    EXPECT_NE(dev.CreateTexture(4, 4, 1, 0, PixelFormat::Unknown, Pool::Managed, &tex), kOk);
    EXPECT_NE(dev.CreateTexture(1 << 20, 4, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &tex), kOk);
}

TEST(GfxDevice, StaticBuffersDrawAsFromMemoryAndUploadOnlyWhenSet) {
    RecordingBackend rec;
    auto* dev = new GfxDevice(&rec);
    Vtx v[4] = {};
    for (int i = 0; i < 4; ++i) v[i].x = float(i);
    const uint16_t idx[9] = {0, 1, 2, 2, 3, 0, 1, 2, 4};  // 4 is past the vertices
    GfxStaticBuffer* b = nullptr;
    ASSERT_EQ(dev->CreateStaticBuffer(&b), kOk);
    b->Set(v, 4, sizeof(Vtx), idx, 9);
    EXPECT_FALSE(b->IndicesInRange());
    dev->SetVertexShader(kFvfScreenVertex);
    // The second triangle alone, as DrawIndexedPrimitiveUP would give it.
    ASSERT_EQ(dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 3, 1), kOk);
    ASSERT_EQ(
        dev->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 1, idx + 3, v, sizeof(Vtx)),
        kOk);
    ASSERT_EQ(rec.draws.size(), 2u);
    const auto &fromBuffer = rec.draws[0], &fromMemory = rec.draws[1];
    EXPECT_EQ(fromBuffer.vertices, fromMemory.vertices);
    EXPECT_EQ(fromBuffer.indices, fromMemory.indices);
    EXPECT_EQ(fromBuffer.call.vertexCount, fromMemory.call.vertexCount);
    EXPECT_EQ(fromBuffer.call.buffer, b);
    EXPECT_EQ(fromBuffer.call.firstIndex, 3u);

    dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 0, 2);
    EXPECT_EQ(rec.bufferUploadCount, 1u);  // unchanged since: not uploaded again
    b->Set(v, 3, sizeof(Vtx), idx, 6);
    dev->SetDrawing(false);  // uploads go on while drawing is off
    dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 0, 1);
    EXPECT_EQ(rec.bufferUploadCount, 2u);
    dev->SetDrawing(true);

    // Indices past the buffer's, a stride shorter than the vertex format, or a buffer of
    // another device are refused.
    EXPECT_NE(dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 3, 2), kOk);
    EXPECT_NE(dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 0, 0), kOk);
    dev->SetVertexShader(kFvfScreenVertex | kFvfNormal);
    EXPECT_NE(dev->DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 0, 1), kOk);
    GfxDevice other(&rec);
    other.SetVertexShader(kFvfScreenVertex);
    EXPECT_NE(other.DrawIndexedPrimitive(PrimitiveType::TriangleList, b, 0, 1), kOk);
    EXPECT_EQ(rec.draws.size(), 3u);

    // A buffer or a texture outliving its device frees safely.
    GfxStaticBuffer* kept = nullptr;
    ASSERT_EQ(dev->CreateStaticBuffer(&kept), kOk);
    GfxTexture* t = nullptr;
    ASSERT_EQ(dev->CreateTexture(2, 2, 1, 0, PixelFormat::R5G6B5, Pool::Managed, &t), kOk);
    b->Release();
    EXPECT_EQ(rec.bufferDestroyCount, 1u);
    delete dev;
    EXPECT_EQ(kept->Device(), nullptr);
    kept->Release();
    t->Release();
}
