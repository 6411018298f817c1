#pragma once
#include <cstdint>

#include "base/frame.h"
#include "math/matrix44.h"
#include "math/vector3.h"

constexpr int kCameraKeyCount = 8;

// One stop of a scripted camera path: where the orbit goes, in how many frames, and which
// motion handler carries it out.
struct CameraKey {
    int32_t frames = 0;
    float distance = 0.0f;
    float angle = 0.0f;
    float eyeY = 0.0f;
    Vector3 target;
    FrameProc mode = nullptr;
};

// The one camera of every 3D scene, described as an orbit: the eye lies at
// target + (sin angle, cos angle) x distance on the ground plane, at its own height eye.y.
// The members behind the first four carry the scripted motion (script/camera_motion.h).
struct Camera {
    Vector3 eye;
    Vector3 target;
    float angle = 0.0f;  // radians
    float distance = 0.0f;

    int32_t keyIndex = 0;    // the next key of the path
    int32_t framesLeft = 0;  // of the current motion
    float stepDistance = 0.0f, stepAngle = 0.0f, stepEyeY = 0.0f;
    Vector3 stepTarget;
    FrameProc handler = NullFrameHook;  // run once a frame by the field and the battle frames
    int32_t keySet[kCameraKeyCount] = {};
    CameraKey keys[kCameraKeyCount];
};

extern Camera g_Camera;
// The view transform last built by UpdateView.
extern Matrix44 g_ViewMatrix;

// Left-handed look-at from eye to target with up (0, 1, 0), kept in g_ViewMatrix and set as
// the device's view transform.
void UpdateView();
// eye.x and eye.z from target, angle and distance (eye.y stays), then UpdateView.
void UpdateCameraEye();
// The battle's free camera while V is held: Shift with Up/Down moves in and out, Ctrl with the
// arrows moves the target, the arrows alone raise the eye and turn the orbit.
void FreeCamera();
// Everything zero with the idle handler and no keys (the world reset and tests).
void ResetCamera();
