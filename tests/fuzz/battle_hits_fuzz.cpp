// Fighters come from status files and hits from technique scripts, both written by authors:
// any points, stats and hit arguments must resolve without harm, leave the points within their
// bounds and keep every label drawable.
#include "battle/battle.h"
#include "fuzz_common.h"
#include "world/character.h"
#include "world/party.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Reader in{data, size};
    g_pBattle = std::make_unique<Battle>();
    Battle& b = *g_pBattle;
    FighterRecord records[kBattleFighterCount];
    for (int i = 0; i < kBattleFighterCount; ++i) {
        FighterRecord& f = records[i];
        g_Fighters[i] = &f;
        f.maxHp = in.Int();
        f.hp = in.Int();
        f.maxMp = in.Int();
        f.mp = in.Int();
        for (uint8_t& s : f.stats) s = in.Byte();
        b.alive[i] = in.Byte() & 1;
        b.shownHp[i] = in.Int();
        b.gauge[i] = in.Int();
    }
    while (in.More()) {
        const uint8_t op = in.Byte();
        const int32_t f = int8_t(in.Byte());  // numbers outside 0-7 too
        switch (op % 6) {
            case 0: {
                const int32_t kind = in.Byte() % 3, a = int8_t(in.Byte());
                const int32_t power = in.Int(), crit = in.Int(), hit = in.Int();
                const int32_t stat = int8_t(in.Byte()), ignore = in.Byte() & 1;
                ComputeHit(kind, a, f, power, crit, hit, stat, ignore);
                // A call with a fighter number outside 0-7 is ignored and changes nothing.
                if (IsFighter(a) && IsFighter(f) &&
                    (b.pendingAmount[f] < -kDamageCap || b.pendingAmount[f] > kDamageCap))
                    __builtin_trap();
                break;
            }
            case 1:
                ApplyHit(f);
                break;
            case 2:
                if (IsFighter(f)) b.pendingAmount[f] = in.Int(), b.pendingStat[f] = in.Byte() % 12;
                ApplyPending(f);
                break;
            case 3:
                SetStance(f);
                ReactToHit(f);
                break;
            case 4:
                DrawLabels();
                DrawStatusPanel();
                break;
            default:
                if (IsFighter(f)) b.running[f] = 1, b.target[f] = int8_t(in.Byte());
                MoveFighters();
                break;
        }
        // What was just applied stays within its bounds.
        if ((op % 6 == 1 || op % 6 == 2) && IsFighter(f)) {
            const FighterRecord& r = records[f];
            const int32_t top = r.maxHp > 0 ? r.maxHp : 0, mpTop = r.maxMp > 0 ? r.maxMp : 0;
            if (b.pendingStat[f] == 0 && (r.hp < 0 || r.hp > top)) __builtin_trap();
            if (b.pendingStat[f] == 1 && (r.mp < 0 || r.mp > mpTop)) __builtin_trap();
            if (b.pendingStat[f] >= 2 && b.pendingStat[f] <= 10 && r.stats[b.pendingStat[f]] == 0)
                __builtin_trap();
        }
        for (const DamageLabel& l : b.labels) fuzz::Check(fuzz::Terminated(l.text), "label text");
    }
    g_pBattle.reset();
    for (FighterRecord*& f : g_Fighters) f = nullptr;
    fuzz::FreshRun::Forget();
    return 0;
}
