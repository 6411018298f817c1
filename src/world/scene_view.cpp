#include "world/scene_view.h"

#include <cmath>
#include <cstdint>

#include "math/math_scalar.h"
#include "world/character.h"

namespace {

SceneViewSource g_sceneViewSource = nullptr;

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
