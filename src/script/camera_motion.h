#pragma once
#include <cstdint>

#include "base/frame.h"
#include "math/vector3.h"
#include "world/field_camera.h"

// Scripted motion of g_Camera: straight moves spread over a number of frames, and paths of up
// to eight keys played one after the other. A motion handler installed in g_Camera.handler
// carries a motion out, one step a frame.

// The battle's resting camera, which mode-3 keys and the scripts return to.
struct HomeCamera {
    Vector3 target;
    float angle = 0.0f;
    float distance = 0.0f;
    float eyeY = 0.0f;
};
// Points at the battle's record while a battle exists; null elsewhere, and then a return to the
// home camera leaves the camera where it is.
extern const HomeCamera* g_pHomeCamera;

// Motion handlers (SetMode 0-3).
void CameraMoveView();   // 0: steps added, view rebuilt from eye as it stands
void CameraMoveOrbit();  // 1: steps added, eye put back on the orbit
void CameraPause();      // 2: frames pass, nothing moves
void CameraHomeKey();    // 3: back to the home camera, and on to the next key at once

// Sets up a move of `frames` frames toward v = (a, b, c):
//   0: angle a, distance b, eye y c; the target stays (its step zeroed)
//   1: target (a, b, c); the orbit stays (its steps zeroed)
//   2: as 0, an earlier target step kept     3: as 1, earlier orbit steps kept
//   4: target toward character a's position, its head height added to y
// Any other type makes the camera idle. framesLeft = frames, keyIndex = 0; the handler is left
// as it is, so the move runs once a motion handler is installed. A move of 0 frames or fewer
// jumps: it is carried out whole by the next handler frame.
void StartMove(int32_t type, int32_t frames, const Vector3& v);
// Handler of mode 0-3; other values change nothing.
void SetMode(int32_t mode);
// Stores key k (0-7; others ignored): orbit = (angle, distance, eye y).
void SetKey(int32_t k, int32_t frames, const Vector3& orbit, const Vector3& target, int32_t mode);
void ClearKeys();
// Starts key keyIndex when it is set, otherwise the camera becomes idle (the path has ended).
// A key of 0 frames or fewer is carried out at once.
void NextKey();
// Target, angle, distance and eye height from the home camera (when there is one), then the
// eye back on the orbit.
void ResetCameraToHome();
// The mode handler of a mode number, the idle handler for others.
FrameProc CameraModeHandler(int32_t mode);
