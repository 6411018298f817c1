// Which draws may share one GL call. No GL needed.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/device.h"
#include "platform/gl_draw_batch.h"

namespace {

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

// Strips and fans join as lists, corner order and flat-colour vertex as GL takes them.
TEST(GlDrawBatch, StripsAndFansJoinAsTheListsGlMakesOfThem) {
    uint8_t v[6][32] = {};
    auto call = [&v](PrimitiveType type, uint32_t vertices) {
        DrawCall c;
        c.type = type;
        c.vertexCount = vertices;
        c.stride = 32;
        c.vertices = v[0];
        return c;
    };
    GlDrawBatch batch;
    const DeviceState s = ScreenState();
    batch.Start(call(PrimitiveType::TriangleList, 3), s);
    for (auto [type, n] :
         {std::pair{PrimitiveType::TriangleStrip, 5u}, std::pair{PrimitiveType::TriangleFan, 5u}}) {
        ASSERT_TRUE(GlDrawBatch::Joinable(call(type, n)));
        ASSERT_TRUE(batch.Accepts(call(type, n), s));
        batch.Append(call(type, n));
    }
    EXPECT_EQ(batch.Type(), PrimitiveType::TriangleList);
    EXPECT_EQ(batch.VertexCount(), 13u);
    EXPECT_EQ(batch.Indices(), (std::vector<uint32_t>{0, 1,  2,                        // the list
                                                      3, 4,  5, 4,  6,  5, 5,  6,  7,  // strip
                                                      9, 10, 8, 10, 11, 8, 11, 12, 8}));  // fan
    EXPECT_FALSE(batch.Accepts(call(PrimitiveType::LineStrip, 3), s));
    EXPECT_FALSE(GlDrawBatch::Joinable(call(PrimitiveType::TriangleStrip, 200)));
    batch.Start(call(PrimitiveType::LineStrip, 3), s);
    EXPECT_EQ(batch.Type(), PrimitiveType::LineList);
    EXPECT_EQ(batch.Indices(), (std::vector<uint32_t>{0, 1, 1, 2}));
}

}  // namespace
