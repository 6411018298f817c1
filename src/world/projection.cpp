#include "world/projection.h"

#include <cmath>

#include "gfx/d3d.h"
#include "world/field_camera.h"
#include "world/scene_view.h"

Matrix44 g_ProjectionMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

namespace {

constexpr float kFieldOfView = 0.7853982f;  // pi / 4
constexpr float kAspect = 1.3333334f;       // 4 / 3

void SetProjection(float zNear, float zFar) {
    g_ProjectionMatrix = PerspectiveFovLH(kFieldOfView, kAspect, zNear, zFar);
    if (g_pd3dDevice) g_pd3dDevice->SetTransform(TransformType::Projection, g_ProjectionMatrix);
}

}  // namespace

Matrix44 PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    Matrix44 m{};
    float yScale = 1.0f / std::tan(fovY / 2.0f);
    m.m[0][0] = yScale / aspect;
    m.m[1][1] = yScale;
    m.m[2][2] = zFar / (zFar - zNear);
    m.m[2][3] = 1.0f;
    m.m[3][2] = -zNear * zFar / (zFar - zNear);
    return m;
}

void SetFieldProjection() {
    SetProjection(192.0f, 20000.0f);
}

void SetBattleProjection() {
    SetProjection(128.0f, 12000.0f);
}

void UseCameraForScene() {
    SetSceneViewSource([] {
        SceneView v;
        v.eye = g_Camera.eye;
        v.target = g_Camera.target;
        v.view = g_ViewMatrix;
        v.projection = g_ProjectionMatrix;
        return v;
    });
}

void ResetProjection() {
    g_ProjectionMatrix.Identity();
}
