#include "field/field_runtime.h"

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "field/field_move.h"
#include "field/field_transitions.h"
#include "field/field_triggers.h"
#include "field/game_state.h"
#include "math/math_scalar.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/play_time.h"

namespace {

// Half a right angle as the walking code has always used it, not exactly pi / 4.
constexpr float kDiagonalTurn = 0.785375f;
constexpr int32_t kListCount = 32;

bool Held(int32_t cell) {
    return cell == kKeyHeld;
}

// The walk motion plays while the leader moves and the stand motion while it does not.
void UpdateLeaderMotion(GameState& gs, bool moving) {
    Character& leader = g_Characters[0];
    if (moving && !gs.walkAnimating) {
        leader.SetMotion(kMotionWalk, 1);
        gs.walkAnimating = 1;
    } else if (!moving && gs.walkAnimating) {
        leader.SetMotion(kMotionStand, 1);
        gs.walkAnimating = 0;
    }
}

// The field's own input after the conversation checks; false when the frame stops here without
// touching the leader's motion.
bool WalkTalkOrMenu(bool& moving) {
    if (Held(g_KeyShift)) {
        if (g_ActionTimer < kActionDelayMs) return false;
        SpeakTrigger();
        moving = false;
        return true;
    }
    UpdateKey(VK_RETURN, g_KeyReturn);
    if (Held(g_KeyReturn)) {
        OpenMenuScreen();
        g_ActionTimer = 0;
        moving = false;
        return true;
    }
    float facing = 0.0f;
    if (!ArrowFacing(g_Camera.angle, facing)) {
        moving = false;
        return true;
    }
    g_Characters[0].rotation.y = facing;
    MoveCharacter(0, float(g_FrameTime), facing);
    g_UnsavedProgress = true;
    return true;
}

}  // namespace

bool ArrowFacing(float cameraAngle, float& facing) {
    const bool left = Held(g_KeyLeft), right = Held(g_KeyRight);
    if (Held(g_KeyUp)) {
        facing = cameraAngle + 180.0f * kDegToRad;
        if (left)
            facing -= kDiagonalTurn;
        else if (right)
            facing += kDiagonalTurn;
    } else if (Held(g_KeyDown)) {
        facing = cameraAngle;
        if (left)
            facing += kDiagonalTurn;
        else if (right)
            facing -= kDiagonalTurn;
    } else if (left) {
        facing = cameraAngle + 90.0f * kDegToRad;
    } else if (right) {
        facing = cameraAngle - 90.0f * kDegToRad;
    } else {
        return false;
    }
    return true;
}

void FieldUpdate() {
    if (g_ActionTimer < kActionTimerCap) g_ActionTimer += int32_t(g_FrameTime);
    if (g_FieldInputEnabled == 0 || !g_pGameState) return;
    GameState& gs = *g_pGameState;

    UpdateKey(VK_SHIFT, g_KeyShift);
    UpdateKey(VK_UP, g_KeyUp);
    UpdateKey(VK_DOWN, g_KeyDown);
    UpdateKey(VK_LEFT, g_KeyLeft);
    UpdateKey(VK_RIGHT, g_KeyRight);
    bool moving = true;

    // A choice list or a conversation waits for the confirm key once its text has typed out.
    bool answered = false;
    if (gs.messageWindow.open) {
        if (g_ActionTimer < kActionDelayMs) return;
        if (Held(g_KeyShift) && MessageFullyShown()) {
            gs.fieldScript.running = 1;
            gs.messageWindow.open = 0;
            g_ActionTimer = 0;
            moving = false;
            answered = true;
        } else if (!Held(g_KeyShift)) {
            ListInput(gs.messageWindow, kListCount, g_ActionTimer);
        }
    }
    if (!answered) {
        if (g_TalkWindows[0].open != 0) {
            if (Held(g_KeyShift) && MessageFullyShown()) gs.fieldScript.running = 1;
            g_ActionTimer = 0;
            moving = false;
        } else if (!WalkTalkOrMenu(moving)) {
            return;
        }
    }
    UpdateLeaderMotion(gs, moving);
}

void ResetFieldRuntime() {
    g_ActionTimer = kActionDelayMs;
    g_FieldInputEnabled = 0;
    g_EncounterRate = 8;
}
