// The technique scripts' "w" commands: the moves, hits and reactions of a fighter's technique.
// The script's actor uses the technique; its target is the fighter numbered in iv[0].
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/frame.h"
#include "battle/battle.h"
#include "battle/battle_scripts.h"
#include "math/math_scalar.h"
#include "script/command_table.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "sound/sound.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/party.h"
#include "world/scene_trail.h"

namespace {

constexpr int32_t kNameMessageFrames = 32;
constexpr int32_t kTechniqueSeBase = 5;  // technique sounds use the upper sound slots
constexpr float kRunAcceleration = 32.0f;
constexpr float kRunTopSpeedPerMs = 2.5f;
constexpr float kStopInFront = 160.0f;
constexpr int32_t kReactionFrames = 32;
constexpr float kHomeSnapDistance = 128.0f;

Battle* TechniqueBattle(const QScrOrg& s) {
    if (!g_pBattle) ScriptError(s, "technique command outside a battle");
    return g_pBattle.get();
}

bool FighterOk(const QScrOrg& s, int32_t f) {
    return CheckIndex(s, f, kBattleFighterCount, "fighter");
}

// The battle, when it exists and the actor is a fighter.
Battle* ActorBattle(const QScrOrg& s) {
    Battle* b = TechniqueBattle(s);
    return b && FighterOk(s, s.actor) ? b : nullptr;
}

// The battle, when the actor and the target in iv[0] are both fighters.
Battle* TargetBattle(const QScrOrg& s) {
    Battle* b = ActorBattle(s);
    return b && FighterOk(s, s.iv[0]) ? b : nullptr;
}

void TechniqueName(QScrOrg& s) {
    Battle* b = ActorBattle(s);
    if (!b) return;
    const TechniqueRecord& r = TechniqueTableAt(b->category)[b->action[s.actor]];
    std::snprintf(b->message, sizeof b->message, "%.*s", int(sizeof r.name), r.name);
    b->messageCounter = kNameMessageFrames;
}

void TechniqueSound(QScrOrg& s) {
    LoadSoundEffectSlot(s, kTechniqueSeBase);
}

void Hit(QScrOrg& s) {
    int32_t p[6];
    for (int32_t& v : p) v = s.gInt();
    if (TargetBattle(s)) ComputeHit(p[0], s.actor, s.iv[0], p[1], p[2], p[3], p[4], p[5]);
}

void ApplyMarked(QScrOrg& s) {
    const int32_t crit = s.gInt();
    Battle* b = TechniqueBattle(s);
    if (!b) return;
    for (int32_t f = 0; f < kBattleFighterCount; ++f) {
        if (!b->hitMark[f]) continue;
        if (crit != 0) {
            ApplyHit(f);
            continue;
        }
        // The hit without its critical display.
        ApplyPending(f);
        AddDamageLabel(f);
        b->labelColour[f] = 0;
        b->criticalFlags[f] &= ~1u;
    }
}

void RunToTarget(QScrOrg& s) {
    if (!TargetBattle(s)) return;
    Character& a = g_Characters[s.actor];
    const Character& t = g_Characters[s.iv[0]];
    const float h = Heading(a.position.x, a.position.z, t.position.x, t.position.z);
    a.rotation.y = h + 180.0f * kDegToRad;
    a.position.x -= TaylorSin(h) * s.speed;
    a.position.z -= TaylorCos(h) * s.speed;
    s.speed = std::min(s.speed + kRunAcceleration, kRunTopSpeedPerMs * float(g_FrameTime));
    if (std::fabs(a.position.z - t.position.z) >= kStopInFront ||
        std::fabs(a.position.x - t.position.x) >= kStopInFront) {
        s.iv[2] = 1;
        return;
    }
    a.position.x = t.position.x + TaylorSin(h) * kStopInFront;
    a.position.z = t.position.z + TaylorCos(h) * kStopInFront;
    s.iv[2] = 0;
}

void React(QScrOrg& s) {
    const int32_t mode = s.gInt();
    Battle* b = TargetBattle(s);
    if (!b) return;
    const int32_t t = s.iv[0];
    Character& target = g_Characters[t];
    const Character& actor = g_Characters[s.actor];
    if (b->alive[t]) {
        target.rotation.y =
            Heading(target.position.x, target.position.z, actor.position.x, actor.position.z) + kPi;
    }
    b->running[t] = 0;
    if (mode != 0) {
        ReactToHit(t);
        return;
    }
    target.SetMotion(kMotionHit, 0);
    const FighterRecord* r = g_Fighters[t];
    const bool low = r && LowPoints(r->hp, r->maxHp);
    target.QueueMotion(low ? kMotionLowHpStance : kMotionBattleStance, 1);
}

void BringBack(QScrOrg& s) {
    Battle* b = TechniqueBattle(s);
    if (!b) return;
    int32_t stillReacting = 0;
    for (int32_t f = 0; f < kBattleFighterCount; ++f) {
        if (!b->alive[f] || !b->hitMark[f]) continue;
        Character& c = g_Characters[f];
        if (c.model.GetCurrentAnimation() == uint32_t(kMotionHit) &&
            c.model.GetAnimationTime() < kReactionFrames) {
            stillReacting = 1;
            continue;
        }
        Vector3 away = c.position;
        away.Sub(b->home[f]);
        if (away.Length() <= kHomeSnapDistance) {
            c.position = b->home[f];
        } else {
            b->running[f] = 1;
        }
    }
    s.iv[2] = stillReacting;
}

void Cover(QScrOrg& s) {
    const int32_t n = s.gInt();
    Battle* b = ActorBattle(s);
    if (!b || n != 0) return;
    const int32_t t = b->target[s.actor];
    if (!FighterOk(s, t)) return;
    const int32_t first = t < kFirstEnemySlot ? 0 : kFirstEnemySlot;
    const int32_t last = t < kFirstEnemySlot ? kFirstEnemySlot : kBattleFighterCount;
    for (int32_t j = first; j < last; ++j) {
        if (j == t || !(b->statusBits[j] & kCoverBit) || !b->alive[j]) continue;
        Character& guard = g_Characters[j];
        const Character& covered = g_Characters[t];
        const Character& actor = g_Characters[s.actor];
        const float h =
            Heading(covered.position.x, covered.position.z, actor.position.x, actor.position.z);
        const float reach = guard.collisionSize + covered.collisionSize;
        guard.position.x = covered.position.x - TaylorSin(h) * reach;
        guard.position.y = covered.position.y;
        guard.position.z = covered.position.z - TaylorCos(h) * reach;
        guard.rotation.y =
            Heading(guard.position.x, guard.position.z, actor.position.x, actor.position.z) + kPi;
        b->running[j] = 0;
        b->target[s.actor] = j;
        SetStance(j);
        return;
    }
}

void PlayTechniqueSound(QScrOrg& s) {
    const int64_t slot = int64_t(s.gInt()) + kTechniqueSeBase;
    if (CheckIndex(s, slot, kSeSlotCount, "sound slot")) PlaySound(g_SeSlots[slot]);
}

void StartTrail(QScrOrg& s) {
    if (Battle* b = ActorBattle(s)) StartWeaponTrail(b->trailColour[s.actor], s.actor);
}

void TrailSampling(QScrOrg& s) {
    g_TrailSampling = s.gInt();
}

// w8: iv[2] = 1 while the actor's animation is before frame n.
void AnimationBefore(QScrOrg& s) {
    const int32_t n = s.gInt();
    if (FighterOk(s, s.actor)) s.iv[2] = g_Characters[s.actor].model.GetAnimationTime() < n;
}

void PrepareRun(QScrOrg& s) {
    if (Battle* b = ActorBattle(s)) {
        b->running[s.actor] = 0;
        s.speed = float(g_FrameTime) / 2.0f;
    }
}

// w12: fighter t (a reference) runs back to its home.
void RunHome(QScrOrg& s) {
    const int32_t t = s.IntRef(s.gInt());
    Battle* b = TechniqueBattle(s);
    if (b && FighterOk(s, t)) b->running[t] = 1;
}

void SetStatusBit(QScrOrg& s) {
    const int32_t bit = s.gInt();
    Battle* b = ActorBattle(s);
    if (b && CheckIndex(s, bit, 32, "status bit")) b->statusBits[s.actor] |= 1u << bit;
}

constexpr CommandEntry kTechniqueCommandList[] = {
    {0, "end technique", "", EndTechnique},
    {1, "technique name", "", TechniqueName},
    {2, "load sound effect", "IS", TechniqueSound},
    {3, "play sound effect", "I", PlayTechniqueSound},
    {4, "hit", "IIIIII", Hit},
    {5, "apply marked hits", "I", ApplyMarked},
    {6, "weapon trail", "", StartTrail},
    {7, "trail sampling", "I", TrailSampling},
    {8, "animation before", "I", AnimationBefore},
    {9, "run to target", "", RunToTarget},
    {10, "prepare run", "", PrepareRun},
    {11, "target reacts", "I", React},
    {12, "run home", "I", RunHome},
    {13, "bring back", "", BringBack},
    {14, "cover", "I", Cover},
    {15, "set status bit", "I", SetStatusBit},
};
static_assert(NumberedInOrder(kTechniqueCommandList));

}  // namespace

constinit const CommandTable kTechniqueCommands{'w', kTechniqueCommandList};

void EndTechnique(QScrOrg& s) {
    s.running = 0;
    if (!g_pBattle) return;
    Battle& b = *g_pBattle;
    if (s.actor >= 0 && s.actor < kBattleFighterCount) b.gauge[s.actor] = 0;
    b.eventDone = 0;
    if (BattleOutcome() == 0) {
        b.frameHandler = AdvanceGauges;
    } else {
        b.hudVisible = 0;
        b.frameHandler = EndCheck;
    }
}
