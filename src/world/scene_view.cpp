#include "world/scene_view.h"

#include <cmath>
#include <cstdint>

#include "world/character.h"

namespace {

SceneViewSource g_sceneViewSource = nullptr;

// trunc toward zero, kept inside the 32-bit range; not-a-number gives 0.
int32_t TruncToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483520.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

void SetSceneViewSource(SceneViewSource source) {
    g_sceneViewSource = source;
}

SceneView CurrentSceneView() {
    return g_sceneViewSource ? g_sceneViewSource() : SceneView{};
}

ScreenPoint ProjectToScreen(float x, float y, float z) {
    const SceneView view = CurrentSceneView();
    Matrix44 m;
    Matrix44::Product(m, view.view, view.projection);
    Vector3 p{x, y, z};
    p.Transform(m);
    const float k = 1.0f / (p.z + 1.0f);
    return {TruncToInt((p.x * k + 1.0f) * 320.0f), TruncToInt((-p.y * k + 1.0f) * 240.0f)};
}

ScreenPoint ProjectCharacter(int n) {
    if (n < 0 || n >= kCharacterCount) return {};
    const Vector3& p = g_Characters[n].position;
    return ProjectToScreen(p.x, p.y, p.z);
}
