#include "world/field_camera.h"

#include <cmath>

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "gfx/d3d.h"
#include "math/math_scalar.h"

Camera g_Camera;
Matrix44 g_ViewMatrix;

namespace {

// The free camera polls Shift and Ctrl into cells of its own, apart from the battle's.
int32_t s_freeShift = 0;
int32_t s_freeCtrl = 0;

}  // namespace

void UpdateView() {
    g_ViewMatrix.LookAt(g_Camera.eye, g_Camera.target, Vector3{0.0f, 1.0f, 0.0f});
    if (g_pd3dDevice) g_pd3dDevice->SetTransform(TransformType::View, g_ViewMatrix);
}

void UpdateCameraEye() {
    // The orbit uses the standard library's sine and cosine, not the engine's own.
    g_Camera.eye.x = std::sin(g_Camera.angle) * g_Camera.distance + g_Camera.target.x;
    g_Camera.eye.z = std::cos(g_Camera.angle) * g_Camera.distance + g_Camera.target.z;
    UpdateView();
}

void FreeCamera() {
    UpdateKey(VK_SHIFT, s_freeShift);
    UpdateKey(VK_CONTROL, s_freeCtrl);
    const float move = float((g_FrameTime * 16u) / 10u);
    const float turn = float(g_FrameTime) * 0.1f * kDegToRad;
    const bool up = g_KeyUp == kKeyHeld, down = g_KeyDown == kKeyHeld;
    const bool left = g_KeyLeft == kKeyHeld, right = g_KeyRight == kKeyHeld;
    Camera& c = g_Camera;
    if (s_freeShift == kKeyHeld) {
        if (up) c.distance -= move;
        if (down) c.distance += move;
    } else if (s_freeCtrl == kKeyHeld) {
        if (up) c.target.y += move;
        if (down) c.target.y -= move;
        if (left) c.target.x -= move;
        if (right) c.target.x += move;
    } else {
        if (up) c.eye.y += move;
        if (down) c.eye.y -= move;
        if (left) c.angle += turn;
        if (right) c.angle -= turn;
    }
    UpdateCameraEye();
}

void ResetCamera() {
    g_Camera = Camera{};
    g_ViewMatrix.Identity();
    s_freeShift = s_freeCtrl = 0;
}
