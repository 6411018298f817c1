// Which draws may share one GL call, how their vertices are laid out, and what a missing
// texture does to the compiled program. No GL needed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/device.h"
#include "platform/gl_draw_batch.h"
#include "platform/gl_shader_key.h"

namespace {

struct V {  // a screen vertex
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};

V At(float x, float y, uint32_t colour = 0xFFFFFFFF) {
    return V{x, y, 0, 1, colour, 0, x / 64, y / 64};
}

// Two triangles a b c, a c d of the rectangle (x, y, w, h).
std::vector<V> Quad(float x, float y, float w, float h, uint32_t colour = 0xFFFFFFFF) {
    V a = At(x, y, colour), b = At(x + w, y, colour), c = At(x + w, y + h, colour),
      d = At(x, y + h, colour);
    return {a, b, c, a, c, d};
}

DrawCall Call(const std::vector<V>& v, PrimitiveType type = PrimitiveType::TriangleList) {
    DrawCall c;
    c.type = type;
    c.vertexCount = uint32_t(v.size());
    c.stride = sizeof(V);
    c.vertices = reinterpret_cast<const uint8_t*>(v.data());
    return c;
}

DeviceState ScreenState() {
    GfxDevice device(nullptr);  // the device's defaults
    DeviceState s = device.State();
    s.fvf = kFvfScreenVertex;
    return s;
}

TEST(SameDrawState, AnyStateThatReachesGlSplitsTheBatch) {
    const DeviceState base = ScreenState();
    auto differs = [&base](auto change) {
        DeviceState s = base;
        change(s);
        return !SameDrawState(base, s);
    };
    EXPECT_TRUE(differs([](DeviceState& s) { s.renderStates[uint32_t(RenderState::AlphaRef)]++; }));
    EXPECT_TRUE(
        differs([](DeviceState& s) { s.stageStates[uint32_t(TextureStageState::AddressU)]++; }));
    EXPECT_TRUE(differs([](DeviceState& s) { s.fvf = kFvfWorldVertex; }));
    EXPECT_TRUE(differs([](DeviceState& s) { s.texture = reinterpret_cast<GfxTexture*>(&s); }));
    // Screen vertices use neither matrices nor lights.
    EXPECT_FALSE(differs([](DeviceState& s) { s.world.m[3][0] = 5; }));
    EXPECT_FALSE(differs([](DeviceState& s) { s.lightEnabled[0] = true; }));

    DeviceState world = base;
    world.fvf = kFvfWorldVertex;
    world.renderStates[uint32_t(RenderState::Lighting)] = 0;
    DeviceState moved = world, lit = world;
    moved.world.m[3][0] = 5;
    EXPECT_FALSE(SameDrawState(world, moved));
    lit.material.diffuse.r = 0.5f;
    EXPECT_TRUE(SameDrawState(world, lit)) << "the material only counts while lighting is on";
    world.renderStates[uint32_t(RenderState::Lighting)] = 1;
    lit.renderStates[uint32_t(RenderState::Lighting)] = 1;
    EXPECT_FALSE(SameDrawState(world, lit));
}

TEST(GlDrawBatch, JoinsListsOfOneShapeAndKeepsEveryVertexInDrawOrder) {
    const DeviceState s = ScreenState();
    std::vector<V> strip = {At(0, 0), At(8, 0), At(0, 8), At(8, 8)};
    EXPECT_FALSE(GlDrawBatch::Joinable(Call(strip, PrimitiveType::TriangleStrip)));
    std::vector<V> many(300, At(0, 0));
    std::vector<uint16_t> manyIndices(300, 0);
    DrawCall big = Call(many);
    big.indices = manyIndices.data();
    big.indexCount = 300;
    EXPECT_FALSE(GlDrawBatch::Joinable(big)) << "large indexed draws go to GL as they are";
    std::vector<V> tri = {At(0, 0, 1), At(8, 0, 2), At(0, 8, 3)};
    GlDrawBatch b;
    EXPECT_FALSE(b.Accepts(Call(tri), s)) << "an empty batch is started, not appended to";
    b.Start(Call(tri), s);
    EXPECT_FALSE(b.Accepts(Call(tri, PrimitiveType::LineList), s));
    DeviceState blended = s;
    blended.renderStates[uint32_t(RenderState::AlphaBlendEnable)] = 1;
    EXPECT_FALSE(b.Accepts(Call(tri), blended));

    // A loose triangle, a quad, another quad, an indexed quad listed 0 1 2 / 1 3 2, and a
    // pair of triangles that is no quad: all drawn as they came.
    std::vector<V> q1 = Quad(10, 10, 4, 4, 9), q2 = Quad(4, 4, 8, 8, 0xFF00FF00);
    std::vector<V> corners = {At(30, 0, 5), At(34, 0, 6), At(30, 4, 7), At(34, 4, 8)};
    std::vector<V> loose = {At(0, 0), At(8, 0), At(0, 8), At(20, 20), At(28, 20), At(20, 28)};
    const uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    DrawCall indexed = Call(corners);
    indexed.indices = indices;
    indexed.indexCount = 6;
    ASSERT_TRUE(GlDrawBatch::Joinable(indexed));
    for (const DrawCall& c : {Call(q1), Call(q2), indexed, Call(loose)}) {
        ASSERT_TRUE(b.Accepts(c, s));
        b.Append(c);
    }
    std::vector<V> expected = tri;
    for (const auto* part : {&q1, &q2}) expected.insert(expected.end(), part->begin(), part->end());
    for (uint16_t i : indices) expected.push_back(corners[i]);
    expected.insert(expected.end(), loose.begin(), loose.end());
    const uint32_t drawn = b.Indices().empty() ? b.VertexCount() : uint32_t(b.Indices().size());
    ASSERT_EQ(drawn, expected.size());
    EXPECT_LT(b.VertexCount(), drawn) << "quads keep four corners";
    for (uint32_t i = 0; i < drawn; ++i) {
        V v;
        std::memcpy(&v,
                    b.Vertices() + size_t(b.Indices().empty() ? i : b.Indices()[i]) * b.Stride(),
                    sizeof v);
        EXPECT_EQ(std::memcmp(&v, &expected[i], sizeof v), 0) << i;
    }
}

// The common 2D set-up, texture x diffuse, without a texture bound.
TEST(GlShaderKey, ChannelsThatReadAMissingTexturePassTheDiffuseColourOn) {
    auto key = [](void (*change)(DeviceState&)) {
        DeviceState s = ScreenState();
        auto tss = [&s](TextureStageState t, auto v) { s.stageStates[uint32_t(t)] = uint32_t(v); };
        tss(TextureStageState::ColorArg2, TextureArg::Diffuse);
        tss(TextureStageState::AlphaOp, TextureOp::Modulate);
        tss(TextureStageState::AlphaArg2, TextureArg::Diffuse);
        change(s);
        return ShaderKeyFor(s, false);
    };
    GlShaderKey k = key([](DeviceState&) {});
    EXPECT_FALSE(k.sampleTexture);
    EXPECT_EQ(k.colorOp, GlShaderKey::kKeep);
    EXPECT_EQ(k.alphaOp, GlShaderKey::kKeep);
    // Only the channel that reads the texture passes; the other still combines.
    k = key([](DeviceState& s) {
        s.stageStates[uint32_t(TextureStageState::AlphaOp)] = uint32_t(TextureOp::SelectArg1);
        s.stageStates[uint32_t(TextureStageState::AlphaArg1)] = uint32_t(TextureArg::TFactor);
    });
    EXPECT_EQ(k.colorOp, GlShaderKey::kKeep);
    EXPECT_EQ(k.alphaOp, uint8_t(TextureOp::SelectArg1));
    // A disabled colour stage disables the alpha stage with it.
    k = key([](DeviceState& s) {
        s.stageStates[uint32_t(TextureStageState::ColorOp)] = uint32_t(TextureOp::Disable);
        s.stageStates[uint32_t(TextureStageState::AlphaArg1)] = uint32_t(TextureArg::TFactor);
    });
    EXPECT_EQ(k.alphaOp, GlShaderKey::kKeep);
}

}  // namespace
