// Which draws may share one GL call, how their vertices are laid out, and which states share
// one compiled program. No GL needed.
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

// The vertex the batch draws as its i-th.
V Drawn(const GlDrawBatch& b, uint32_t i) {
    uint32_t index = b.Indices().empty() ? i : b.Indices()[i];
    V v;
    std::memcpy(&v, b.Vertices() + size_t(index) * b.Stride(), sizeof v);
    return v;
}

bool Same(const V& a, const V& b) {
    return std::memcmp(&a, &b, sizeof(V)) == 0;
}

uint32_t DrawnCount(const GlDrawBatch& b) {
    return b.Indices().empty() ? b.VertexCount() : uint32_t(b.Indices().size());
}

TEST(SameDrawState, AnyStateThatReachesGlSplitsTheBatch) {
    const DeviceState base = ScreenState();
    EXPECT_TRUE(SameDrawState(base, base));

    auto differs = [&base](auto change) {
        DeviceState s = base;
        change(s);
        return !SameDrawState(base, s);
    };
    EXPECT_TRUE(
        differs([](DeviceState& s) { s.renderStates[uint32_t(RenderState::DestBlend)]++; }));
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

TEST(GlDrawBatch, JoinsOnlyListsOfTheSameShapeAndState) {
    std::vector<V> q = Quad(0, 0, 8, 8), strip = {At(0, 0), At(8, 0), At(0, 8), At(8, 8)};
    EXPECT_TRUE(GlDrawBatch::Joinable(Call(q)));
    EXPECT_TRUE(GlDrawBatch::Joinable(Call(q, PrimitiveType::LineList)));
    EXPECT_FALSE(GlDrawBatch::Joinable(Call(strip, PrimitiveType::TriangleStrip)));
    EXPECT_FALSE(GlDrawBatch::Joinable(Call(strip, PrimitiveType::TriangleFan)));
    std::vector<V> many(300, At(0, 0));
    std::vector<uint16_t> manyIndices(300, 0);
    DrawCall big = Call(many);
    big.indices = manyIndices.data();
    big.indexCount = 300;
    EXPECT_FALSE(GlDrawBatch::Joinable(big)) << "large indexed draws go to GL as they are";

    const DeviceState s = ScreenState();
    GlDrawBatch b;
    EXPECT_FALSE(b.Accepts(Call(q), s)) << "an empty batch is started, not appended to";
    b.Start(Call(q), s);
    EXPECT_TRUE(b.Accepts(Call(q), s));
    EXPECT_FALSE(b.Accepts(Call(q, PrimitiveType::LineList), s));
    DrawCall wider = Call(q);
    wider.stride = sizeof(V) + 4;
    EXPECT_FALSE(b.Accepts(wider, s));
    DeviceState blended = s;
    blended.renderStates[uint32_t(RenderState::AlphaBlendEnable)] = 1;
    EXPECT_FALSE(b.Accepts(Call(q), blended));
}

TEST(GlDrawBatch, QuadsKeepFourCornersAndDrawOrderIsKept) {
    const DeviceState s = ScreenState();
    GlDrawBatch b;
    std::vector<V> first = Quad(0, 0, 8, 8, 0xFF0000FF), second = Quad(4, 4, 8, 8, 0xFF00FF00);
    b.Start(Call(first), s);
    b.Append(Call(second));
    EXPECT_EQ(b.DrawCount(), 2u);
    EXPECT_EQ(b.VertexCount(), 8u);
    ASSERT_EQ(DrawnCount(b), 12u);
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(Same(first[i], Drawn(b, i))) << i;
        EXPECT_TRUE(Same(second[i], Drawn(b, 6 + i))) << i;
    }

    // A pair of triangles that is not such a quad stays as it came, after the quads.
    std::vector<V> loose = {At(0, 0), At(8, 0), At(0, 8), At(20, 20), At(28, 20), At(20, 28)};
    b.Append(Call(loose));
    EXPECT_EQ(b.VertexCount(), 14u);
    ASSERT_EQ(DrawnCount(b), 18u);
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(Same(loose[i], Drawn(b, 12 + i))) << i;
    }
}

TEST(GlDrawBatch, LooseTrianglesBeforeQuadsAndIndexedDrawsKeepTheirVertices) {
    const DeviceState s = ScreenState();
    GlDrawBatch b;
    std::vector<V> tri = {At(0, 0, 1), At(8, 0, 2), At(0, 8, 3)};
    b.Start(Call(tri), s);
    EXPECT_TRUE(b.Indices().empty()) << "plain vertices need no index list";
    std::vector<V> q = Quad(10, 10, 4, 4, 9);
    b.Append(Call(q));

    // An indexed quad of four corners, listed 0 1 2 / 1 3 2.
    std::vector<V> corners = {At(30, 0, 5), At(34, 0, 6), At(30, 4, 7), At(34, 4, 8)};
    const uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    DrawCall indexed = Call(corners);
    indexed.indices = indices;
    indexed.indexCount = 6;
    ASSERT_TRUE(GlDrawBatch::Joinable(indexed));
    b.Append(indexed);

    std::vector<V> expected = tri;
    expected.insert(expected.end(), q.begin(), q.end());
    for (uint16_t i : indices) expected.push_back(corners[i]);
    ASSERT_EQ(DrawnCount(b), expected.size());
    for (uint32_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(Same(expected[i], Drawn(b, i))) << i;
    }

    b.Reset();
    EXPECT_TRUE(b.Empty());
    b.Start(Call(tri), s);
    EXPECT_EQ(DrawnCount(b), 3u);
    EXPECT_TRUE(b.Indices().empty());
}

// The common 2D set-up: texture x diffuse from the device's defaults as the game sets them.
DeviceState SpriteState() {
    DeviceState s = ScreenState();
    s.stageStates[uint32_t(TextureStageState::ColorArg2)] = uint32_t(TextureArg::Diffuse);
    s.stageStates[uint32_t(TextureStageState::AlphaOp)] = uint32_t(TextureOp::Modulate);
    s.stageStates[uint32_t(TextureStageState::AlphaArg2)] = uint32_t(TextureArg::Diffuse);
    return s;
}

GlShaderKey KeyWith(void (*change)(DeviceState&), bool textured = true) {
    DeviceState s = SpriteState();
    change(s);
    return ShaderKeyFor(s, textured);
}

void Tss(DeviceState& s, TextureStageState t, uint32_t v) {
    s.stageStates[uint32_t(t)] = v;
}

TEST(GlShaderKey, TheSpriteSetUpNeedsOnlyTheTextureAndTheDiffuseColour) {
    GlShaderKey k = ShaderKeyFor(SpriteState(), true);
    EXPECT_TRUE(k.pretransformed);
    EXPECT_FALSE(k.lighting) << "screen vertices are never lit";
    EXPECT_TRUE(k.sampleTexture);
    EXPECT_TRUE(k.snapTexel) << "point sampling is the default";
    EXPECT_FALSE(k.readsSpecular);
    EXPECT_EQ(k.alphaFunc, 0);
    EXPECT_EQ(k.colorOp, uint8_t(TextureOp::Modulate));

    // Linear filtering in both directions needs no snapping.
    GlShaderKey linear = KeyWith([](DeviceState& s) {
        Tss(s, TextureStageState::MagFilter, uint32_t(TextureFilter::Linear));
        Tss(s, TextureStageState::MinFilter, uint32_t(TextureFilter::Linear));
    });
    EXPECT_FALSE(linear.snapTexel);
    EXPECT_NE(linear, k);
}

TEST(GlShaderKey, StatesThatDrawAlikeShareOneProgram) {
    const GlShaderKey k = ShaderKeyFor(SpriteState(), true);
    // Values that do not change the program's code.
    EXPECT_EQ(KeyWith([](DeviceState& s) { s.renderStates[uint32_t(RenderState::AlphaRef)] = 9; }),
              k);
    EXPECT_EQ(KeyWith([](DeviceState& s) {
                  s.renderStates[uint32_t(RenderState::TextureFactor)] = 0x12345678;
              }),
              k);
    // "Current" is the diffuse colour at the only stage; unknown selectors read it too.
    EXPECT_EQ(KeyWith([](DeviceState& s) { Tss(s, TextureStageState::ColorArg2, 1); }), k);
    EXPECT_EQ(KeyWith([](DeviceState& s) { Tss(s, TextureStageState::ColorArg2, 9); }), k);
    // An unknown operation modulates.
    EXPECT_EQ(KeyWith([](DeviceState& s) { Tss(s, TextureStageState::ColorOp, 40); }), k);
    // Select-argument operations ignore the other argument.
    auto select1 = [](DeviceState& s) {
        Tss(s, TextureStageState::ColorOp, uint32_t(TextureOp::SelectArg1));
    };
    EXPECT_EQ(KeyWith(select1), KeyWith([](DeviceState& s) {
                  Tss(s, TextureStageState::ColorOp, uint32_t(TextureOp::SelectArg1));
                  Tss(s, TextureStageState::ColorArg2, uint32_t(TextureArg::Specular));
              }));
    // An alpha test that always passes is no test; one that never passes is kept.
    auto alphaTest = [](DeviceState& s, Cmp f) {
        s.renderStates[uint32_t(RenderState::AlphaTestEnable)] = 1;
        s.renderStates[uint32_t(RenderState::AlphaFunc)] = uint32_t(f);
    };
    EXPECT_EQ(KeyWith([](DeviceState& s) {
                  s.renderStates[uint32_t(RenderState::AlphaTestEnable)] = 1;
                  s.renderStates[uint32_t(RenderState::AlphaFunc)] = uint32_t(Cmp::Always);
              }),
              k);
    DeviceState never = SpriteState();
    alphaTest(never, Cmp::Never);
    EXPECT_EQ(ShaderKeyFor(never, true).alphaFunc, uint8_t(Cmp::Never));
}

TEST(GlShaderKey, ChannelsThatReadAMissingTexturePassTheDiffuseColourOn) {
    GlShaderKey k = ShaderKeyFor(SpriteState(), false);
    EXPECT_FALSE(k.sampleTexture);
    EXPECT_EQ(k.colorOp, GlShaderKey::kKeep);
    EXPECT_EQ(k.alphaOp, GlShaderKey::kKeep);

    // Only the channel that reads the texture passes; the other still combines.
    GlShaderKey alphaFromFactor = KeyWith(
        [](DeviceState& s) {
            Tss(s, TextureStageState::AlphaOp, uint32_t(TextureOp::SelectArg1));
            Tss(s, TextureStageState::AlphaArg1, uint32_t(TextureArg::TFactor));
        },
        false);
    EXPECT_EQ(alphaFromFactor.colorOp, GlShaderKey::kKeep);
    EXPECT_EQ(alphaFromFactor.alphaOp, uint8_t(TextureOp::SelectArg1));

    // A disabled colour stage disables the alpha stage with it, texture or not.
    GlShaderKey off = KeyWith(
        [](DeviceState& s) { Tss(s, TextureStageState::ColorOp, uint32_t(TextureOp::Disable)); });
    EXPECT_EQ(off.colorOp, GlShaderKey::kKeep);
    EXPECT_EQ(off.alphaOp, GlShaderKey::kKeep);
    EXPECT_FALSE(off.sampleTexture);

    // Reading the specular colour through an argument needs it even without the specular add.
    GlShaderKey specularKey = KeyWith([](DeviceState& s) {
        Tss(s, TextureStageState::ColorArg2, uint32_t(TextureArg::Specular));
    });
    EXPECT_TRUE(specularKey.readsSpecular);
    EXPECT_FALSE(specularKey.addSpecular);
}

}  // namespace
