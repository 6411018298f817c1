// Which draws may share one GL call. No GL needed.
#include <gtest/gtest.h>

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

}  // namespace
