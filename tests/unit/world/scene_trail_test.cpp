#include "scene_test_util.h"

namespace {

class SceneTrailTest : public SceneTest {
protected:
    Character& Owner() {
        Character& c = g_Characters[1];
        c.active = 1;
        c.bladeLength = 500;
        return c;
    }
};

}  // namespace

TEST_F(SceneTrailTest, StartCopiesTheTipAndSamplingFillsTheSwing) {
    Character& c = Owner();
    c.position = Vector3{1000, 0, 0};
    StartWeaponTrail(0xFF00FF00, 1);
    EXPECT_EQ(g_WeaponTrail.count, 0);
    EXPECT_EQ(g_WeaponTrail.intensity, 1.0f);
    EXPECT_EQ(g_WeaponTrail.points[255].y, 500.0f);
    EXPECT_EQ(g_WeaponTrail.points[255].x, 1000.0f);
    EXPECT_EQ(g_WeaponTrail.points[256].y, 0.0f);

    SampleWeaponTrail();  // sampling off
    EXPECT_EQ(g_WeaponTrail.count, 0);
    g_TrailSampling = 1;
    SampleWeaponTrail();
    ASSERT_EQ(g_WeaponTrail.count, 20);
    EXPECT_EQ(g_WeaponTrail.points[0].y, 180.0f);  // base
    EXPECT_EQ(g_WeaponTrail.points[1].y, 500.0f);  // tip
    EXPECT_EQ(g_WeaponTrail.points[19].x, 1000.0f);

    // Moving 100 units between frames gives ten pairs evenly along the way.
    c.position.x = 1100;
    SampleWeaponTrail();
    ASSERT_EQ(g_WeaponTrail.count, 40);
    for (int s = 1; s <= 10; ++s) {
        EXPECT_NEAR(g_WeaponTrail.points[20 + (s - 1) * 2].x, 1000.0f + 10.0f * s, 0.01f) << s;
        EXPECT_NEAR(g_WeaponTrail.points[21 + (s - 1) * 2].y, 500.0f, 0.01f);
    }
}

TEST_F(SceneTrailTest, SamplingTurnsWithTheOwnerAndStopsAtAFullTable) {
    Character& c = Owner();
    c.rotation.y = 90.0f * kDegToRad;
    c.bladeLength = 0;
    StartWeaponTrail(0, 1);
    g_TrailSampling = 1;
    SampleWeaponTrail();
    // A blade lying along y stays along y when the owner turns about y.
    EXPECT_NEAR(g_WeaponTrail.points[0].x, 0.0f, 1e-3f);
    EXPECT_NEAR(g_WeaponTrail.points[0].y, 180.0f, 1e-3f);
    for (int i = 0; i < 80; ++i) SampleWeaponTrail();
    EXPECT_EQ(g_WeaponTrail.count, kTrailPointCount);

    // No owner: nothing is sampled.
    StartWeaponTrail(0, 20);
    EXPECT_EQ(g_WeaponTrail.owner, nullptr);
    SampleWeaponTrail();
    EXPECT_EQ(g_WeaponTrail.count, 0);
}

TEST_F(SceneTrailTest, DrawsNewestPairsFirstAndFadesAway) {
    Owner();
    StartWeaponTrail(0x123456, 1);
    g_WeaponTrail.count = 1;
    DrawWeaponTrail();
    EXPECT_TRUE(Draws().empty());  // no full quad

    StartWeaponTrail(0x123456, 1);
    for (int i = 0; i < 14; ++i) {
        g_WeaponTrail.points[i] = Vector3{float(i), float(i % 2), 0};
    }
    g_WeaponTrail.count = 14;  // 7 pairs: 6 strips
    DrawWeaponTrail();
    ASSERT_EQ(Draws().size(), 6u);
    const auto& newest = Draws()[0];
    EXPECT_EQ(newest.state.Rs(RenderState::CullMode), uint32_t(Cull::None));
    EXPECT_EQ(newest.state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(newest.state.texture, nullptr);
    EXPECT_EQ(Wv(newest, 0).x, 10.0f);  // pairs 5 and 6
    EXPECT_EQ(Wv(newest, 3).x, 13.0f);
    EXPECT_EQ(Wv(newest, 0).diffuse, 0x20123456u);
    EXPECT_EQ(Wv(newest, 1).diffuse, 0xA0123456u);
    // j = 5 fades what follows: 0xA0 * 0.95 = 152.
    EXPECT_EQ(Wv(Draws()[1], 1).diffuse >> 24, 152u);
    EXPECT_EQ(Wv(Draws()[5], 0).x, 0.0f);
    EXPECT_FLOAT_EQ(g_WeaponTrail.intensity, 0.9f);

    int frames = 1;
    while (g_WeaponTrail.count != 0 && frames < 100) {
        DrawWeaponTrail();
        ++frames;
    }
    EXPECT_EQ(frames, 29);  // 0.9^29 < 0.05 <= 0.9^28
    backend.draws.clear();
    DrawWeaponTrail();
    EXPECT_TRUE(Draws().empty());
}

TEST_F(SceneTrailTest, ActorMarkerTurnsOverTheActor) {
    g_Characters[2].position = Vector3{300, 40, -600};
    float angle = 10.0f;
    g_FrameTime = 20;
    DrawActorMarker(angle, 2);
    EXPECT_EQ(angle, 15.0f);
    ASSERT_EQ(Draws().size(), 2u);
    const auto& lid = Draws()[0];
    const auto& body = Draws()[1];
    Vector3 at = Where(body.state.world);
    EXPECT_EQ(at.x, 300.0f);
    EXPECT_EQ(at.y, 552.0f);
    EXPECT_EQ(at.z, -600.0f);
    EXPECT_NEAR(body.state.world.m[0][0], std::cos(15.0f * kDegToRad), 1e-4f);
    EXPECT_NEAR(lid.state.world.m[0][0], std::cos(60.0f * kDegToRad), 1e-4f);
    EXPECT_EQ(body.call.primitiveCount, 4u);
    EXPECT_EQ(Wv(body, 0).y, 0.0f);  // apex at the bottom
    EXPECT_EQ(Wv(lid, 0).diffuse, 0x800000DCu);
    EXPECT_EQ(body.state.Rs(RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(device->GetRenderState(RenderState::AlphaBlendEnable), 0u);

    DrawActorMarker(angle, 99);  // not a character: the angle still turns
    EXPECT_EQ(angle, 20.0f);
    EXPECT_EQ(Draws().size(), 2u);
}
