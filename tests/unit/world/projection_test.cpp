#include <gtest/gtest.h>

#include "world/field_camera.h"
#include "world/projection.h"
#include "world/scene_view.h"

TEST(Projection, CameraTargetProjectsToTheScreenCentreAndDepthRunsZeroToOne) {
    Matrix44 p = PerspectiveFovLH(0.7853982f, 1.3333334f, 192.0f, 20000.0f);
    // A point on the near plane maps to depth 0, one on the far plane to depth 1 (after w).
    EXPECT_NEAR((192.0f * p.m[2][2] + p.m[3][2]) / 192.0f, 0.0f, 1e-5);
    EXPECT_NEAR((20000.0f * p.m[2][2] + p.m[3][2]) / 20000.0f, 1.0f, 1e-5);
    EXPECT_NEAR(p.m[1][1], 2.4142137f, 1e-5);  // cot(22.5 degrees)
    EXPECT_NEAR(p.m[0][0], p.m[1][1] / 1.3333334f, 1e-6);

    ResetCamera();
    g_Camera.eye.Set(2000.0f, 3000.0f, -400.0f);
    g_Camera.target.Set(2000.0f, 200.0f, -2000.0f);
    UpdateView();
    SetFieldProjection();
    UseCameraForScene();
    ScreenPoint s = ProjectToScreen(2000.0f, 200.0f, -2000.0f);
    EXPECT_NEAR(s.x, 320, 1);
    EXPECT_NEAR(s.y, 240, 1);
    SetSceneViewSource(nullptr);
}
