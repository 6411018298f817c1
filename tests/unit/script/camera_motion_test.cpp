// Scripted camera motion: straight moves, key paths with their modes, gaps, home keys, and
// moves or keys without frames.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/modes.h"
#include "app/world_reset.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "script/camera_motion.h"
#include "world/character.h"

namespace {

class CameraMotionTest : public ::testing::Test {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;

    void SetUp() override {
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetGameWorld();
        g_Camera.target = Vector3{1000.0f, 200.0f, -1000.0f};
        g_Camera.angle = 0.5f;
        g_Camera.distance = 2000.0f;
        g_Camera.eye.y = 3000.0f;
    }
    void TearDown() override {
        ResetGameWorld();
        g_pd3dDevice = nullptr;
    }
    static void Run(int frames) {
        for (int i = 0; i < frames; ++i) g_Camera.handler();
    }
    static bool Idle() { return g_Camera.handler == &NullFrameHook; }
    // angle, distance, eye y, target x, y, z
    static void ExpectCamera(float a, float d, float eyeY, Vector3 t) {
        const Camera& c = g_Camera;
        EXPECT_NEAR(c.angle, a, 1e-4f);
        EXPECT_NEAR(c.distance, d, 0.05f);
        EXPECT_NEAR(c.eye.y, eyeY, 0.05f);
        EXPECT_NEAR(c.target.x, t.x, 0.05f);
        EXPECT_NEAR(c.target.y, t.y, 0.05f);
        EXPECT_NEAR(c.target.z, t.z, 0.05f);
    }
};

TEST_F(CameraMotionTest, MoveTypesSetOrKeepTheirSteps) {
    Camera& c = g_Camera;
    StartMove(1, 4, Vector3{1400.0f, 0.0f, -1000.0f});
    EXPECT_FLOAT_EQ(c.stepTarget.x, 100.0f);
    StartMove(2, 10, Vector3{1.5f, 1000.0f, 2000.0f});
    EXPECT_FLOAT_EQ(c.stepAngle, 0.1f);
    EXPECT_FLOAT_EQ(c.stepTarget.x, 100.0f);  // kept by type 2
    StartMove(0, 2, Vector3{0.5f, 2000.0f, 3000.0f});
    EXPECT_FLOAT_EQ(c.stepTarget.y, 0.0f);  // dropped by type 0
    g_Characters[4].position = Vector3{1500.0f, 100.0f, -1500.0f};
    StartMove(4, 5, Vector3{4.9f, 0.0f, 0.0f});  // character 4 (no head bone)
    EXPECT_FLOAT_EQ(c.stepTarget.y, -20.0f);
    StartMove(4, 5, Vector3{20.0f, 0.0f, 0.0f});  // nobody: the step stays
    EXPECT_FLOAT_EQ(c.stepTarget.y, -20.0f);
}

TEST_F(CameraMotionTest, PathPlaysItsKeysInOrderAndEndsAtAGap) {
    SetKey(0, 2, Vector3{1.0f, 1000.0f, 500.0f}, Vector3{100.0f, 0.0f, 0.0f}, 1);
    SetKey(1, 3, Vector3{2.0f, 1300.0f, 800.0f}, Vector3{400.0f, 30.0f, -90.0f}, 0);
    SetKey(2, 4, Vector3{9.0f, 9.0f, 9.0f}, Vector3{9.0f, 9.0f, 9.0f}, 2);
    NextKey();
    Run(2);
    ExpectCamera(1.0f, 1000.0f, 500.0f, Vector3{100.0f, 0.0f, 0.0f});
    // Mode 1 put the eye on the orbit and set the view; mode 0 leaves the eye where it is.
    const float eyeX = 100.0f + std::sin(1.0f) * 1000.0f;
    EXPECT_NEAR(g_Camera.eye.x, eyeX, 0.05f);
    Run(3);
    ExpectCamera(2.0f, 1300.0f, 800.0f, Vector3{400.0f, 30.0f, -90.0f});
    EXPECT_NEAR(g_Camera.eye.x, eyeX, 0.05f);
    Run(3);  // a pause key holds the camera still for its frames
    EXPECT_FALSE(Idle());
    Run(1);
    EXPECT_TRUE(Idle());
    ExpectCamera(2.0f, 1300.0f, 800.0f, Vector3{400.0f, 30.0f, -90.0f});

    g_Camera.keySet[1] = 0;  // with a gap the path ends after key 0
    g_Camera.keyIndex = 0;
    NextKey();
    Run(2);
    EXPECT_TRUE(Idle());
}

TEST_F(CameraMotionTest, HomeKeysTakeNoFrameOfTheirOwn) {
    HomeCamera home;
    home.target = Vector3{0.0f, 512.0f, 0.0f};
    home.angle = 3.0f;
    home.distance = 2500.0f;
    home.eyeY = 1200.0f;
    g_pHomeCamera = &home;
    SetKey(0, 30, Vector3{}, Vector3{}, 3);
    SetKey(1, 2, Vector3{}, Vector3{}, 2);
    NextKey();
    Run(1);
    ExpectCamera(3.0f, 2500.0f, 1200.0f, Vector3{0.0f, 512.0f, 0.0f});
    EXPECT_EQ(g_Camera.handler, &CameraPause);  // key 1 already installed
}

TEST_F(CameraMotionTest, MovesAndKeysWithoutFramesJump) {
    StartMove(0, 0, Vector3{2.0f, 900.0f, 700.0f});
    SetMode(1);
    Run(1);
    ExpectCamera(2.0f, 900.0f, 700.0f, Vector3{1000.0f, 200.0f, -1000.0f});
    EXPECT_TRUE(Idle());
    // Keys of 0 frames (or fewer) are carried out in the call that reaches them.
    SetKey(0, 0, Vector3{0.25f, 1500.0f, 400.0f}, Vector3{5.0f, 6.0f, 7.0f}, 1);
    SetKey(1, -3, Vector3{0.5f, 1600.0f, 450.0f}, Vector3{8.0f, 6.0f, 7.0f}, 0);
    SetKey(2, 4, Vector3{}, Vector3{}, 2);
    g_Camera.keyIndex = 0;
    NextKey();
    ExpectCamera(0.5f, 1600.0f, 450.0f, Vector3{8.0f, 6.0f, 7.0f});
    EXPECT_EQ(g_Camera.framesLeft, 4);
    for (int k = 0; k < kCameraKeyCount; ++k)
        SetKey(k, 0, Vector3{float(k), 100.0f, 100.0f}, Vector3{}, k % 2);
    g_Camera.keyIndex = 0;
    NextKey();  // eight of them in a row end the path
    EXPECT_TRUE(Idle());
    EXPECT_FLOAT_EQ(g_Camera.angle, 7.0f);
}

}  // namespace
