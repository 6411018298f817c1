#pragma once
#include "math/matrix44.h"

// The projection transform in use, kept for the screen projection of labels and cursors.
extern Matrix44 g_ProjectionMatrix;

// Left-handed perspective with a vertical field of view (radians) and aspect width / height.
Matrix44 PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Field: 45 degrees, 4:3, near 192, far 20000. Battle: near 128, far 12000. Each keeps the matrix
// in g_ProjectionMatrix and sets it on the device.
void SetFieldProjection();
void SetBattleProjection();
// The scene drawing reads the camera, the view built by UpdateView and this projection.
void UseCameraForScene();
// g_ProjectionMatrix back to the identity it starts as.
void ResetProjection();
