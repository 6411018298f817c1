// Battle event and technique scripts come from authors: whatever the text, every frame of
// their runners must end, stay inside every table and leave the battle in one of its phases.
// The first byte picks the runner, the actor and the first variables; the rest is the script.
#include <filesystem>

#include "app/shell.h"
#include "battle/battle.h"
#include "fuzz_common.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/party.h"
#include "world/scene_trail.h"

namespace {

using fuzz::Check;

constexpr int kFrames = 4;

void OtherPhase() {}

bool KnownPhase(FrameProc p) {
    return p == OtherPhase || p == EventRunning || p == ActionRunning || p == AdvanceGauges ||
           p == EndCheck;
}

void Setup() {
    fuzz::QuietHost();
    // Sound effects are looked for in the current directory: a small one keeps loops of
    // sound commands quick.
    std::filesystem::current_path(fuzz::DataDir("battle-script-fuzz", {"SCR"}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (Setup(), true);
    (void)init;
    if (size == 0) return 0;
    const fuzz::FreshRun fresh;
    ResetCharacters();
    ResetCamera();
    ResetWeaponTrail();
    ResetParty();
    for (int i = kFirstEnemySlot; i < kFighterCount; ++i) g_Fighters[i] = new FighterRecord();
    g_FrameTime = 17;

    g_pBattle = std::make_unique<Battle>();
    Battle& b = *g_pBattle;
    for (int i = 0; i < kBattleFighterCount; ++i) {
        b.alive[i] = (data[0] >> (i % 4)) & 1;
        b.hitMark[i] = 1;
        b.target[i] = int32_t(data[0] % 11) - 1;
        g_Characters[i].active = 1;
        g_Characters[i].position = Vector3{float(i * 300), 0.0f, float(i * -200)};
    }
    const bool event = (data[0] & 0x80) != 0;
    QScrOrg& s = event ? b.eventScript : b.techniqueScript;
    fuzz::PutScript(s, data + 1, size - 1);
    s.actor = int32_t(data[0] % 10) - 1;
    for (int i = 0; i < QScrOrg::kIntVars; ++i) s.iv[i] = int32_t(data[0] % (i + 9)) - 1;

    b.frameHandler = OtherPhase;
    if (event) {
        b.messageCounter = data[0] & 3;
        StartEvent(s, "");
        for (int frame = 0; frame < kFrames && b.frameHandler == EventRunning; ++frame) {
            EventRunning();
            Check(s.stepping == 0, "event frame ended while stepping");
        }
        if (b.frameHandler == EventRunning) Check(s.running != 0, "ended event kept its frame");
    } else {
        s.running = 1;
        b.frameHandler = ActionRunning;
        for (int frame = 0; frame < kFrames && b.frameHandler == ActionRunning; ++frame) {
            RunTechnique();
            Check(s.stepping == 0, "technique frame ended while stepping");
        }
        if (b.frameHandler == ActionRunning)
            Check(s.running != 0, "ended technique kept its frame");
    }
    Check(KnownPhase(b.frameHandler), "battle left in an unknown phase");
    Check(fuzz::Terminated(s.str) && fuzz::Terminated(b.message), "text without its NUL");
    g_pBattle.reset();
    FreeEnemyFighters();
    return 0;
}
