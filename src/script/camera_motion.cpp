#include "script/camera_motion.h"

#include "base/frame.h"
#include "math/math_scalar.h"
#include "world/character.h"

const HomeCamera* g_pHomeCamera = nullptr;

namespace {

// Height of the head above the character's feet: where labels and the camera aim. A model
// without a head bone has none.
void AddSteps() {
    Camera& c = g_Camera;
    c.angle += c.stepAngle;
    c.distance += c.stepDistance;
    c.eye.y += c.stepEyeY;
    c.target.Add(c.stepTarget);
}

// Counts the motion's frames down; the path goes on once they are used up. A handler installed
// with no frames left ends at once instead of running on with stale steps.
void CountFrame() {
    g_Camera.framesLeft -= 1;
    if (g_Camera.framesLeft <= 0) NextKey();
}

Vector3 StepToward(const Vector3& goal, const Vector3& from, float frames) {
    return Vector3{(goal.x - from.x) / frames, (goal.y - from.y) / frames,
                   (goal.z - from.z) / frames};
}

}  // namespace

void CameraMoveView() {
    AddSteps();
    UpdateView();
    CountFrame();
}

void CameraMoveOrbit() {
    AddSteps();
    UpdateCameraEye();
    CountFrame();
}

void CameraPause() {
    CountFrame();
}

void CameraHomeKey() {
    ResetCameraToHome();
    NextKey();
}

FrameProc CameraModeHandler(int32_t mode) {
    switch (mode) {
        case 0:
            return CameraMoveView;
        case 1:
            return CameraMoveOrbit;
        case 2:
            return CameraPause;
        case 3:
            return CameraHomeKey;
        default:
            return NullFrameHook;
    }
}

void StartMove(int32_t type, int32_t frames, const Vector3& v) {
    Camera& c = g_Camera;
    // A move without frames would divide by zero; it is done in one frame instead.
    const int32_t used = frames > 0 ? frames : 1;
    const float f = float(used);
    c.framesLeft = used;
    c.keyIndex = 0;
    switch (type) {
        case 0:
        case 2:
            c.stepAngle = (v.x - c.angle) / f;
            c.stepDistance = (v.y - c.distance) / f;
            c.stepEyeY = (v.z - c.eye.y) / f;
            if (type == 0) c.stepTarget = Vector3{};
            break;
        case 1:
        case 3:
            c.stepTarget = StepToward(v, c.target, f);
            if (type == 1) c.stepAngle = c.stepDistance = c.stepEyeY = 0.0f;
            break;
        case 4: {
            const int32_t who = TruncToInt(v.x);
            if (who < 0 || who >= kCharacterCount) break;  // nobody to look at: the step stays
            const Character& ch = g_Characters[who];
            Vector3 goal = ch.position;
            goal.y += HeadHeight(ch);
            c.stepTarget = StepToward(goal, c.target, f);
            break;
        }
        default:
            c.handler = NullFrameHook;
            break;
    }
}

void SetMode(int32_t mode) {
    if (mode >= 0 && mode <= 3) g_Camera.handler = CameraModeHandler(mode);
}

void SetKey(int32_t k, int32_t frames, const Vector3& orbit, const Vector3& target, int32_t mode) {
    if (k < 0 || k >= kCameraKeyCount) return;
    CameraKey& key = g_Camera.keys[k];
    key.frames = frames;
    key.angle = orbit.x;
    key.distance = orbit.y;
    key.eyeY = orbit.z;
    key.target = target;
    key.mode = CameraModeHandler(mode);
    g_Camera.keySet[k] = 1;
}

void ClearKeys() {
    for (int32_t& set : g_Camera.keySet) set = 0;
    g_Camera.keyIndex = 0;
}

void NextKey() {
    Camera& c = g_Camera;
    if (c.keyIndex < 0 || c.keyIndex >= kCameraKeyCount || !c.keySet[c.keyIndex]) {
        c.handler = NullFrameHook;
        return;
    }
    const CameraKey& k = c.keys[c.keyIndex];
    // A key without frames is carried out at once: one whole step, run right now. Each such
    // key moves keyIndex on, so a path of them ends after at most eight.
    const bool atOnce = k.frames <= 0;
    const float f = atOnce ? 1.0f : float(k.frames);
    c.framesLeft = atOnce ? 1 : k.frames;
    c.stepAngle = (k.angle - c.angle) / f;
    c.stepDistance = (k.distance - c.distance) / f;
    c.stepEyeY = (k.eyeY - c.eye.y) / f;
    c.stepTarget = StepToward(k.target, c.target, f);
    c.handler = k.mode ? k.mode : NullFrameHook;
    c.keyIndex += 1;
    if (atOnce) c.handler();
}

void ResetCameraToHome() {
    if (g_pHomeCamera) {
        g_Camera.target = g_pHomeCamera->target;
        g_Camera.angle = g_pHomeCamera->angle;
        g_Camera.distance = g_pHomeCamera->distance;
        g_Camera.eye.y = g_pHomeCamera->eyeY;
    }
    UpdateCameraEye();
}
