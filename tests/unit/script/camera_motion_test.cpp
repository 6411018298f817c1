// Scripted camera motion: straight moves, key paths with their four modes, gaps, and moves or
// keys without frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "app/modes.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "script/camera_motion.h"
#include "world/character.h"

namespace {

class CameraMotionTest : public ::testing::Test {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    HomeCamera home;

    void SetUp() override {
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetCamera();
        ResetCharacters();
        g_pHomeCamera = nullptr;
        Camera& c = g_Camera;
        c.target = Vector3{1000.0f, 200.0f, -1000.0f};
        c.angle = 0.5f;
        c.distance = 2000.0f;
        c.eye.y = 3000.0f;
        UpdateCameraEye();
    }
    void TearDown() override {
        g_pHomeCamera = nullptr;
        ResetCharacters();
        g_pd3dDevice = nullptr;
        device.reset();
    }
    static void Run(int frames) {
        for (int i = 0; i < frames; ++i) g_Camera.handler();
    }
    static bool Idle() { return g_Camera.handler == &NullFrameHook; }
    static void ExpectOrbit(float angle, float distance, float eyeY, const Vector3& target) {
        EXPECT_NEAR(g_Camera.angle, angle, 1e-4f);
        EXPECT_NEAR(g_Camera.distance, distance, 0.05f);
        EXPECT_NEAR(g_Camera.eye.y, eyeY, 0.05f);
        EXPECT_NEAR(g_Camera.target.x, target.x, 0.05f);
        EXPECT_NEAR(g_Camera.target.y, target.y, 0.05f);
        EXPECT_NEAR(g_Camera.target.z, target.z, 0.05f);
    }
    static void ExpectEyeOnOrbit() {
        const Camera& c = g_Camera;
        EXPECT_NEAR(c.eye.x, c.target.x + std::sin(c.angle) * c.distance, 0.05f);
        EXPECT_NEAR(c.eye.z, c.target.z + std::cos(c.angle) * c.distance, 0.05f);
    }
};

TEST_F(CameraMotionTest, MoveTypesSetAndKeepTheirSteps) {
    Camera& c = g_Camera;
    StartMove(1, 4, Vector3{1400.0f, 0.0f, -1000.0f});
    EXPECT_FLOAT_EQ(c.stepTarget.x, 100.0f);
    EXPECT_FLOAT_EQ(c.stepTarget.y, -50.0f);
    EXPECT_FLOAT_EQ(c.stepDistance, 0.0f);
    StartMove(2, 10, Vector3{1.5f, 1000.0f, 2000.0f});  // the target step stays
    EXPECT_FLOAT_EQ(c.stepAngle, 0.1f);
    EXPECT_FLOAT_EQ(c.stepDistance, -100.0f);
    EXPECT_FLOAT_EQ(c.stepEyeY, -100.0f);
    EXPECT_FLOAT_EQ(c.stepTarget.x, 100.0f);
    EXPECT_EQ(c.framesLeft, 10);
    StartMove(3, 2, Vector3{1000.0f, 400.0f, -1000.0f});  // the orbit steps stay
    EXPECT_FLOAT_EQ(c.stepTarget.y, 100.0f);
    EXPECT_FLOAT_EQ(c.stepAngle, 0.1f);
    StartMove(0, 2, Vector3{0.5f, 2000.0f, 3000.0f});  // the target step goes
    EXPECT_FLOAT_EQ(c.stepTarget.y, 0.0f);
    EXPECT_FLOAT_EQ(c.stepAngle, 0.0f);

    // Type 4 aims at a character's head.
    Character& ch = g_Characters[4];
    ch.position = Vector3{1500.0f, 100.0f, -1500.0f};
    StartMove(4, 5, Vector3{4.9f, 0.0f, 0.0f});
    EXPECT_FLOAT_EQ(c.stepTarget.x, 100.0f);
    EXPECT_FLOAT_EQ(c.stepTarget.y, -20.0f);  // no head bone: no head height
    ch.model.bones[1] = std::make_unique<RZ_Bone>();
    ch.model.bones[1]->worldPosition.y = 600.0f;
    ch.headBone = ch.model.bones[1].get();
    StartMove(4, 5, Vector3{4.0f, 0.0f, 0.0f});
    EXPECT_FLOAT_EQ(c.stepTarget.y, 100.0f);
    ch.headBone = nullptr;
    StartMove(4, 5, Vector3{20.0f, 0.0f, 0.0f});  // no such character: nothing to aim at
    EXPECT_FLOAT_EQ(c.stepTarget.y, 100.0f);

    SetMode(1);
    StartMove(5, 5, Vector3{});
    EXPECT_TRUE(Idle());
    SetMode(7);  // not a mode: nothing changes
    EXPECT_TRUE(Idle());
}

TEST_F(CameraMotionTest, ModeOneOrbitsAndModeZeroKeepsTheEyeInPlace) {
    StartMove(2, 4, Vector3{1.3f, 1600.0f, 2600.0f});
    StartMove(3, 4, Vector3{1400.0f, 200.0f, -600.0f});
    SetMode(1);
    Run(3);
    EXPECT_FALSE(Idle());
    Run(1);
    EXPECT_TRUE(Idle());  // no keys: the move ends in idle
    ExpectOrbit(1.3f, 1600.0f, 2600.0f, Vector3{1400.0f, 200.0f, -600.0f});
    ExpectEyeOnOrbit();
    Matrix44 view{};
    device->GetTransform(TransformType::View, &view);
    EXPECT_EQ(std::memcmp(&view, &g_ViewMatrix, sizeof view), 0);

    const Vector3 eye = g_Camera.eye;
    StartMove(1, 2, Vector3{0.0f, 0.0f, 0.0f});
    SetMode(0);
    Run(2);
    EXPECT_FLOAT_EQ(g_Camera.target.x, 0.0f);
    EXPECT_FLOAT_EQ(g_Camera.eye.x, eye.x);
    EXPECT_FLOAT_EQ(g_Camera.eye.z, eye.z);
    EXPECT_TRUE(Idle());
}

TEST_F(CameraMotionTest, PathPlaysItsKeysInOrderAndEndsAtAGap) {
    SetKey(0, 2, Vector3{1.0f, 1000.0f, 500.0f}, Vector3{100.0f, 0.0f, 0.0f}, 1);
    SetKey(1, 3, Vector3{2.0f, 1300.0f, 800.0f}, Vector3{400.0f, 30.0f, -90.0f}, 0);
    SetKey(2, 4, Vector3{9.0f, 9.0f, 9.0f}, Vector3{9.0f, 9.0f, 9.0f}, 2);
    NextKey();
    EXPECT_EQ(g_Camera.handler, &CameraMoveOrbit);
    Run(2);
    ExpectOrbit(1.0f, 1000.0f, 500.0f, Vector3{100.0f, 0.0f, 0.0f});
    EXPECT_EQ(g_Camera.handler, &CameraMoveView);
    Run(3);
    ExpectOrbit(2.0f, 1300.0f, 800.0f, Vector3{400.0f, 30.0f, -90.0f});
    // A pause key holds the camera still for its frames, then the path ends.
    const Vector3 eye = g_Camera.eye;
    Run(3);
    EXPECT_FALSE(Idle());
    Run(1);
    EXPECT_TRUE(Idle());
    ExpectOrbit(2.0f, 1300.0f, 800.0f, Vector3{400.0f, 30.0f, -90.0f});
    EXPECT_FLOAT_EQ(g_Camera.eye.x, eye.x);
    EXPECT_EQ(g_Camera.keyIndex, 3);

    // Keys stay stored: played again from the start, with key 1 gone it stops after key 0.
    g_Camera.keySet[1] = 0;
    g_Camera.keyIndex = 0;
    NextKey();
    Run(2);
    EXPECT_TRUE(Idle());
    ExpectOrbit(1.0f, 1000.0f, 500.0f, Vector3{100.0f, 0.0f, 0.0f});

    ClearKeys();
    NextKey();
    EXPECT_TRUE(Idle());
    EXPECT_EQ(g_Camera.keyIndex, 0);
    SetKey(8, 1, Vector3{}, Vector3{}, 0);  // past the table: ignored
    SetKey(-1, 1, Vector3{}, Vector3{}, 0);
    NextKey();
    EXPECT_TRUE(Idle());
}

TEST_F(CameraMotionTest, HomeKeysTakeNoFrameOfTheirOwn) {
    home.target = Vector3{0.0f, 512.0f, 0.0f};
    home.angle = 3.0f;
    home.distance = 2500.0f;
    home.eyeY = 1200.0f;
    g_pHomeCamera = &home;
    SetKey(0, 30, Vector3{}, Vector3{}, 3);
    SetKey(1, 2, Vector3{}, Vector3{}, 2);
    NextKey();
    Run(1);
    ExpectOrbit(3.0f, 2500.0f, 1200.0f, Vector3{0.0f, 512.0f, 0.0f});
    ExpectEyeOnOrbit();
    EXPECT_EQ(g_Camera.handler, &CameraPause);  // key 1 runs from the next frame
    Run(2);
    EXPECT_TRUE(Idle());

    // Outside a battle there is no home camera: the camera stays where it is.
    g_pHomeCamera = nullptr;
    g_Camera.angle = 1.0f;
    ClearKeys();
    NextKey();
    SetMode(3);
    Run(1);
    EXPECT_FLOAT_EQ(g_Camera.angle, 1.0f);
    EXPECT_TRUE(Idle());
}

TEST_F(CameraMotionTest, MovesAndKeysWithoutFramesJump) {
    StartMove(0, 0, Vector3{2.0f, 900.0f, 700.0f});
    EXPECT_TRUE(std::isfinite(g_Camera.stepAngle));
    SetMode(1);
    Run(1);
    ExpectOrbit(2.0f, 900.0f, 700.0f, Vector3{1000.0f, 200.0f, -1000.0f});
    EXPECT_TRUE(Idle());

    // A key of 0 frames is reached at once, in the call that starts it.
    SetKey(0, 0, Vector3{0.25f, 1500.0f, 400.0f}, Vector3{5.0f, 6.0f, 7.0f}, 1);
    SetKey(1, -3, Vector3{0.5f, 1600.0f, 450.0f}, Vector3{8.0f, 6.0f, 7.0f}, 0);
    SetKey(2, 4, Vector3{}, Vector3{}, 2);
    g_Camera.keyIndex = 0;
    NextKey();
    ExpectOrbit(0.5f, 1600.0f, 450.0f, Vector3{8.0f, 6.0f, 7.0f});
    EXPECT_EQ(g_Camera.handler, &CameraPause);
    EXPECT_EQ(g_Camera.framesLeft, 4);

    // A path of nothing but such keys ends after the eighth.
    for (int k = 0; k < kCameraKeyCount; ++k)
        SetKey(k, 0, Vector3{float(k), 100.0f, 100.0f}, Vector3{}, k % 2);
    g_Camera.keyIndex = 0;
    NextKey();
    EXPECT_TRUE(Idle());
    EXPECT_FLOAT_EQ(g_Camera.angle, 7.0f);
}

}  // namespace
