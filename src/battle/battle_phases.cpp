// The battle's phases outside the menus: the fade-in, the gauges that decide who acts, the
// action being played, and the end of the fight.
#include <algorithm>

#include "base/crt_rand.h"
#include "base/frame.h"
#include "battle/battle.h"
#include "math/math_scalar.h"
#include "script/camera_motion.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "world/field_camera.h"
#include "world/input_gate.h"
#include "world/mode_words.h"
#include "world/party.h"

namespace {

constexpr int32_t kIntroFadeStep = 16;

// The fighters by gauge x 100 + fighter number, largest first: at equal gauges the higher
// fighter number comes first.
void GaugeOrder(const Battle& b, int32_t order[kBattleFighterCount]) {
    for (int32_t i = 0; i < kBattleFighterCount; ++i) order[i] = i;
    std::sort(order, order + kBattleFighterCount, [&b](int32_t l, int32_t r) {
        return int64_t(b.gauge[l]) * 100 + l > int64_t(b.gauge[r]) * 100 + r;
    });
}

// One pass of growth; the first ready fighter in the order (its gauge set to full), or -1.
int32_t GrowGauges(Battle& b, const int32_t order[kBattleFighterCount]) {
    for (int32_t i = 0; i < kBattleFighterCount; ++i) {
        if (b.alive[i] == 0 || !g_Fighters[i]) continue;
        const int32_t speed = g_Fighters[i]->stats[kStatSpeed];
        b.gauge[i] += speed * 10 + CrtRand() % (speed + 1);
    }
    for (int32_t k = 0; k < kBattleFighterCount; ++k) {
        const int32_t i = order[k];
        // A fighter that is down never acts, whatever its gauge says.
        if (b.alive[i] != 0 && b.gauge[i] > kGaugeFull - 1) {
            b.gauge[i] = kGaugeFull;
            return i;
        }
    }
    return -1;
}

// The camera path of a won fight: 24 frames at a wide view from behind the enemies, then 48
// frames swinging round and down onto the party.
void StartVictoryCamera() {
    g_Camera.angle = 180.0f * kDegToRad;
    g_Camera.distance = 6000.0f;
    g_Camera.eye.y = 1024.0f;
    g_Camera.target.Set(0.0f, 256.0f, 960.0f);
    ClearKeys();
    g_Camera.keyIndex = 0;
    SetKey(0, 24, Vector3{g_Camera.angle, g_Camera.distance, g_Camera.eye.y}, g_Camera.target, 1);
    NextKey();
    SetKey(1, 48, Vector3{89.5f * kDegToRad, 2048.0f, 256.0f}, g_Camera.target, 1);
}

}  // namespace

int32_t BattleOutcome() {
    const Battle* b = g_pBattle.get();
    if (!b) return 0;
    bool party = false, enemies = false;
    for (int32_t i = 0; i < kBattleFighterCount; ++i) {
        if (b->alive[i] == 0) continue;
        (i < kFirstEnemySlot ? party : enemies) = true;
    }
    if (!party) return -1;
    return enemies ? 0 : 1;
}

void BattleIntro() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    g_FadeAlpha -= kIntroFadeStep;
    if (g_FadeAlpha > 0) return;
    g_FadeAlpha = 0;
    b->hudVisible = 1;
    b->frameHandler = AdvanceGauges;
    StartEvent(b->eventScript, "START");
}

void AdvanceGauges() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    if (BattleOutcome() != 0) {
        // One side has nobody standing (no enemy could be read, or an event laid them low):
        // the fight is decided without waiting for an action that could not end it.
        b->hudVisible = 0;
        b->frameHandler = EndCheck;
        return;
    }
    int32_t order[kBattleFighterCount];
    GaugeOrder(*b, order);
    int32_t ready = -1;
    for (int32_t pass = 0; pass < kGaugePasses && ready < 0; ++pass) ready = GrowGauges(*b, order);
    if (ready < 0) return;

    for (uint8_t& mark : b->hitMark) mark = 0;
    b->actionKind = kActionPlain;
    if (ready < kFirstEnemySlot) {
        b->menuFrames = 0;
        OpenCommandMenu(ready);
        PlaySound(g_SeSlots[2]);
    } else {
        b->action[ready] = g_Fighters[ready] ? g_Fighters[ready]->defaultAction : 0;
        // Any party fighter, one that is down too: the technique decides what then happens.
        b->target[ready] = CrtRand() % kPartyFighterCount;
        StartAction(ready);
    }
}

void StartAction(int32_t fighter) {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter)) return;
    LoadTechniqueScript(b->techniqueScript, fighter);
    b->techniqueScript.running = 1;
    b->frameHandler = ActionRunning;
    b->messageCounter = 0;
}

void ActionRunning() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    RunTechnique();
    if (b->messageCounter > 0) b->messageCounter -= 1;
    DrawBattleMessage();
}

void EndCheck() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    for (int32_t r : b->running)
        if (r != 0) return;  // someone is still on the way home

    if (g_ModeNext == 0) {
        // The deciding event plays once: marked before it starts, since it may end at once.
        const int32_t outcome = BattleOutcome();
        if (outcome == 0) {
            // Nobody is beaten after all (an event revived someone): the fight goes on.
            b->hudVisible = 1;
            b->frameHandler = AdvanceGauges;
            return;
        }
        b->outcome = outcome;
        g_ModeNext = 1;
        b->frameHandler = EndCheck;
        StartEvent(b->eventScript, outcome < 0 ? "G_O" : "WIN");
        b->returnHandler = EndCheck;
        return;
    }

    // The event has ended: the closing sequence.
    if (b->outcome == 0) b->outcome = BattleOutcome();
    if (b->outcome == 0) {
        b->hudVisible = 1;
        b->frameHandler = AdvanceGauges;
        return;
    }
    g_FieldInputEnabled = 0;
    g_TransitionCounter = 0;
    if (b->outcome < 0) {
        b->frameHandler = DefeatFadeOut;
    } else {
        PlayBgm("win");
        b->frameHandler = VictoryFadeOut;
        StartVictoryCamera();
    }
}
