#pragma once
#include <cstdint>

#include "math/matrix44.h"
#include "math/vector3.h"

// What the scene drawing needs to know of the camera: where it stands, what it looks at, and
// the view and projection transforms the game keeps (the same ones it set on the device).
struct SceneView {
    Vector3 eye;
    Vector3 target{0.0f, 0.0f, 1.0f};
    Matrix44 view{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    Matrix44 projection{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
};

// The camera owner installs a source that reads its live camera; until then (and after
// SetSceneViewSource(nullptr)) the drawing sees a default SceneView.
using SceneViewSource = SceneView (*)();
void SetSceneViewSource(SceneViewSource source);
SceneView CurrentSceneView();

// A point on the 640 x 480 screen.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Screen position of a world point for labels, cursors and windows. The point goes through the
// stored view and projection without the homogeneous divide; it is divided by z' + 1 instead,
// as the game's screen layouts expect. A point the divisor sends to infinity lands on the
// nearest representable screen coordinate instead of an undefined one.
ScreenPoint ProjectToScreen(float x, float y, float z);
// The same for character n's position; characters outside 0-19 give (0, 0).
ScreenPoint ProjectCharacter(int n);
