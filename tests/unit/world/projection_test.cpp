#include <gtest/gtest.h>

#include "world/field_camera.h"
#include "world/projection.h"
#include "world/scene_view.h"

TEST(Projection, FieldCameraTargetProjectsToTheScreenCentre) {
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
