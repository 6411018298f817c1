// One battle frame, the keys and the free camera, the fighters running home, and the two ways a
// fight ends.
#include <cmath>

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "battle/battle.h"
#include "math/math_scalar.h"
#include "script/commands_shared.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/input_gate.h"
#include "world/mode_words.h"
#include "world/scene_objects.h"
#include "world/scene_trail.h"

namespace {

constexpr float kRunSpeedPerMs = 2.5f;
constexpr int32_t kFadeOutStep = 16;
constexpr int32_t kVictoryHold = 64;  // frames of the victory pose before the fade
constexpr int32_t kDefeatHold = 80;

bool KeyDown(int virtualKey) {
    return g_Host.keys && (g_Host.keys->GetKeyState(virtualKey) & 0x80) != 0;
}

// The pose of one side, then a fade to black that asks for the way back to the field.
void FadeOutAfterPose(int32_t hold, int32_t first, int32_t last) {
    const Battle* b = g_pBattle.get();
    if (g_TransitionCounter <= hold) {
        if (g_TransitionCounter == 0 && b)
            for (int32_t i = first; i <= last; ++i)
                if (b->alive[i] != 0) g_Characters[i].SetMotion(kMotionVictory, 0);
    } else {
        g_FadeAlpha += kFadeOutStep;
        if (g_FadeAlpha > 254) {
            g_FadeAlpha = 255;
            g_ModeNow = 0;
            g_ModeNext = 1;
            g_ModeChangeRequest = 1;
        }
    }
    g_TransitionCounter += 1;
}

}  // namespace

void BattleInput() {
    UpdateKey(VK_UP, g_KeyUp);
    UpdateKey(VK_DOWN, g_KeyDown);
    UpdateKey(VK_LEFT, g_KeyLeft);
    UpdateKey(VK_RIGHT, g_KeyRight);
    UpdateKey(VK_SHIFT, g_KeyShift);
    UpdateKey(VK_CONTROL, g_KeyCtrl);
    UpdateKey(VK_RETURN, g_KeyReturn);
    UpdateKey(VK_BACK, g_KeyBack);
    if (g_ActionTimer < kActionTimerCap) g_ActionTimer += int32_t(g_FrameTime);
    if (KeyDown(VK_V)) FreeCamera();
}

void MoveFighters() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    const float step = float(g_FrameTime) * kRunSpeedPerMs;
    for (int32_t i = 0; i < kBattleFighterCount; ++i) {
        if (b->running[i] == 0) continue;
        Character& c = g_Characters[i];
        const Vector3& home = b->home[i];
        const float h = Heading(c.position.x, c.position.z, home.x, home.z);
        c.position.x -= TaylorSin(h) * step;
        c.position.z -= TaylorCos(h) * step;
        const bool running = c.model.GetCurrentAnimation() == uint32_t(kMotionRun);
        if (std::fabs(c.position.z - home.z) < step && std::fabs(c.position.x - home.x) < step) {
            c.position.x = home.x;
            c.position.z = home.z;
            const int32_t t = b->target[i];
            if (IsFighter(t)) {
                const Vector3& tp = g_Characters[t].position;
                c.rotation.y = Heading(c.position.x, c.position.z, tp.x, tp.z) + kPi;
            }
            b->running[i] = 0;
            if (running) SetStance(i);
        } else {
            c.rotation.y = h + kPi;
            if (!running) c.SetMotion(kMotionRun, 1);
        }
    }
}

void BattleFrame() {
    BattleInput();
    if (g_Camera.handler) g_Camera.handler();
    DrawBattleScene();
    if (g_TrailSampling != 0) SampleWeaponTrail();
    DrawWeaponTrail();
    DrawStatusPanel();
    MoveFighters();
    Battle* b = g_pBattle.get();
    if (b && b->frameHandler) b->frameHandler();
    DrawLabels();
}

void VictoryFadeOut() {
    FadeOutAfterPose(kVictoryHold, 0, kFirstEnemySlot - 1);
}

void DefeatFadeOut() {
    FadeOutAfterPose(kDefeatHold, kFirstEnemySlot, kBattleFighterCount - 1);
}
