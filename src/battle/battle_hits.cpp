// What a technique does to a fighter: the amount a hit will change, applying it, the label that
// shows it, and the fighter's stance and reaction.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/crt_rand.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/party.h"

namespace {

constexpr uint32_t kLabelWhite = 0xFFFFFF;
constexpr uint32_t kLabelCritical = 0x00FFFF;
constexpr uint32_t kLabelDownBlue = 0x0000FF;
constexpr int32_t kStepMin = 15;  // the shown points move at least this much a frame

// Kinds of ComputeHit.
constexpr int32_t kHitDamage = 0;
constexpr int32_t kHitFixed = 1;  // a change of +power: healing, a stat raised or lowered, a cost

void SetLabelText(Battle& b, int32_t f, const char* text) {
    std::snprintf(b.labelText[f], sizeof b.labelText[f], "%s", text);
}

void SetLabelNumber(Battle& b, int32_t f, int32_t value) {
    std::snprintf(b.labelText[f], sizeof b.labelText[f], "%d", value);
}

// The shown points move a fifth of the way (plus one) a frame, but never less than 15.
int32_t ShownStep(int32_t shown, int32_t now) {
    const int64_t d = int64_t(shown) - now;
    const int sign = d > 0 ? 1 : d < 0 ? -1 : 0;
    int64_t step = int64_t(std::trunc(double(d) / 5.0 + sign));
    if (step >= -kStepMin && step <= -1) step = -kStepMin;
    if (step >= 1 && step <= kStepMin) step = kStepMin;
    return int32_t(std::clamp<int64_t>(step, INT32_MIN, INT32_MAX));
}

// a's accuracy against t's evasion, each raised by half a random share of what is left to 255.
bool HitLands(const FighterRecord& a, const FighterRecord& t, int32_t hitThreshold) {
    int32_t h = a.stats[kStatAccuracy];
    h += (CrtRand() % (256 - h) + 1) / 2;
    int32_t e = t.stats[kStatEvasion];
    e += (CrtRand() % (256 - e) + 1) / 2;
    return h + e >= hitThreshold;
}

}  // namespace

void ComputeHit(int32_t kind, int32_t attacker, int32_t target, int32_t power,
                int32_t criticalThreshold, int32_t hitThreshold, int32_t stat,
                int32_t ignoreDefence) {
    Battle* pb = g_pBattle.get();
    if (!pb || !IsFighter(attacker) || !IsFighter(target)) return;
    Battle& b = *pb;
    b.pendingStat[target] = stat;
    b.labelColour[target] = kLabelWhite;
    b.criticalFlags[target] = 0;
    b.hitMark[target] = 1;

    if (kind != kHitDamage) {
        // A fixed change is what the technique says; other kinds change nothing.
        const int32_t amount = kind == kHitFixed ? std::clamp(power, -kDamageCap, kDamageCap) : 0;
        b.pendingAmount[target] = amount;
        SetLabelNumber(b, target, amount);
        return;
    }

    const FighterRecord* a = g_Fighters[attacker];
    const FighterRecord* t = g_Fighters[target];
    if (!a || !t) {
        b.pendingAmount[target] = 0;
        SetLabelNumber(b, target, 0);
        return;
    }
    const int32_t atk = a->stats[kStatAttack] + a->stats[kStatBonus];
    const int32_t def = ignoreDefence ? 0 : t->stats[kStatDefence] + t->stats[kStatBonus];
    const int32_t d = atk - def;
    // Kept in double until the cap, so that no power, however large, overflows.
    double damage = 0.0;
    if (d > 0) damage = std::trunc((d * d * 0.08 + d) * (power * 0.01));

    const int32_t r = CrtRand() % 100 + 1;
    if (r > criticalThreshold) {
        damage = std::trunc(damage * 1.5);
        b.criticalFlags[target] |= 1u;
    }
    const int32_t v = CrtRand() % 39 + 217;
    damage = std::trunc(v / 255.0 * damage);
    const int32_t dealt = int32_t(std::clamp(damage, 0.0, double(kDamageCap)));
    b.pendingAmount[target] = -dealt;

    if (!HitLands(*a, *t, hitThreshold)) {
        SetLabelText(b, target, "MISS");
        b.pendingAmount[target] = 0;
    } else {
        SetLabelNumber(b, target, dealt);
    }
}

void ApplyPending(int32_t fighter) {
    Battle* pb = g_pBattle.get();
    if (!pb || !IsFighter(fighter) || !g_Fighters[fighter]) return;
    Battle& b = *pb;
    FighterRecord& f = *g_Fighters[fighter];
    const int32_t amount = b.pendingAmount[fighter];
    const int32_t stat = b.pendingStat[fighter];
    ChangeFighterValue(f, stat, amount);
    if (stat == kChangeHp) {
        if (f.hp == 0) {
            if (b.alive[fighter] != 0) b.alive[fighter] -= 1;
            if (b.alive[fighter] == 0) b.gauge[fighter] = 0;
        }
        b.hpStep[fighter] = ShownStep(b.shownHp[fighter], f.hp);
    } else if (stat == kChangeMp) {
        b.mpStep[fighter] = ShownStep(b.shownMp[fighter], f.mp);
    }
}

void ApplyHit(int32_t fighter) {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter)) return;
    ApplyPending(fighter);
    AddDamageLabel(fighter);
    b->labelColour[fighter] = 0;
    ShowCritical(fighter);
}

int32_t AddDamageLabel(int32_t fighter) {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter)) return -1;
    for (int32_t n = 0; n < kDamageLabelCount; ++n) {
        DamageLabel& l = b->labels[n];
        if (l.life != 0) continue;
        l.life = kDamageLabelLife;
        l.position = g_Characters[fighter].position;
        std::snprintf(l.text, sizeof l.text, "%s", b->labelText[fighter]);
        l.colour = b->labelColour[fighter];
        // A fighter shown at no hit points gets a blue "1", as the game has always shown it.
        if (b->shownHp[fighter] == 0) {
            l.colour = kLabelDownBlue;
            std::snprintf(l.text, sizeof l.text, "1");
        }
        return n;
    }
    RZ_MsgBox(SJIS("ダメージラベルが、最大数を超えました！"),
              "more damage labels at once than the battle can show");
    return -1;
}

void ShowCritical(int32_t fighter) {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter)) return;
    if (b->criticalFlags[fighter] & 1u) {
        b->labelColour[fighter] = kLabelCritical;
        // Nine characters, of which a label draws eight, as the game has always shown it.
        SetLabelText(*b, fighter, "CRITICAL!");
        const int32_t n = AddDamageLabel(fighter);
        if (n >= 0) b->labels[n].position.y = HeadHeight(g_Characters[fighter]);
    }
    b->criticalFlags[fighter] = 0;
}

void SetStance(int32_t fighter) {
    const Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter)) return;
    Character& c = g_Characters[fighter];
    const FighterRecord* f = g_Fighters[fighter];
    if (b->alive[fighter] == 0) {
        c.SetMotion(kMotionDown, 0);
    } else if (fighter >= kFirstEnemySlot) {
        c.SetMotion(kMotionStand, 1);
    } else if (!f || !LowPoints(f->hp, f->maxHp)) {
        c.SetMotion(kMotionBattleStance, 1);
    } else {
        c.SetMotion(kMotionLowHpStance, 1);
    }
}

void ReactToHit(int32_t fighter) {
    const Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter) || !g_Fighters[fighter]) return;
    Character& c = g_Characters[fighter];
    const FighterRecord& f = *g_Fighters[fighter];
    const int64_t after = int64_t(f.hp) + b->pendingAmount[fighter];
    if (after < 1) {
        c.SetMotion(kMotionDown, 0);
        return;
    }
    c.SetMotion(kMotionHit, 0);
    c.QueueMotion(LowPoints(after, f.maxHp) ? kMotionLowHpStance : kMotionBattleStance, 1);
}
