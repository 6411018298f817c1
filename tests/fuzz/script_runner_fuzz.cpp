// Scripts come from authors: whatever the text, a frame of the runner must end, stay inside
// every table and leave the script readable. The first byte picks the fade counter and the
// first variables; the rest is the script text, run for a few frames through the field runner
// with the field's own commands (talk windows, the choice list, script, field and character
// loads from a data directory that holds none of them).
#include "battle/battle.h"
#include "field/field_runtime.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "fuzz_common.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/party.h"

namespace {

using fuzz::Check;
constexpr int kFrames = 3;

void Setup() {
    fuzz::QuietHost();
    fuzz::DataDir("runner-fuzz", {"SCR"});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (Setup(), true);
    (void)init;
    if (size == 0) return 0;
    const fuzz::FreshRun fresh;
    ResetCharacters();
    ResetCamera();
    for (auto& b : g_Billboards) ResetBillboard(b);
    for (int i = 0; i < kFieldObjectCount; ++i) ResetFieldObject(i);
    ResetTalkWindows();
    ResetFieldRuntime();
    ResetEnemySet();

    static GameState state;
    g_pGameState = &state;
    QScrOrg& s = state.fieldScript;
    fuzz::PutScript(s, data + 1, size - 1);
    s.running = 1;
    s.aux = (data[0] & 0x80) ? 14 : 0;
    for (int i = 0; i < QScrOrg::kIntVars; ++i) s.iv[i] = int32_t(data[0] % (i + 3)) - 1;
    std::memset(s.str, 0, sizeof s.str);

    for (int frame = 0; frame < kFrames && s.running; ++frame) {
        RunFieldScript();
        Check(s.stepping == 0, "frame ended while stepping");
        Check(fuzz::Terminated(s.str), "str without its NUL");
        for (const TalkWindow& w : g_TalkWindows) Check(fuzz::Terminated(w.text), "talk text");
        for (const MenuListEntry& e : state.messageWindow.entries)
            Check(fuzz::Terminated(e.text), "entry without NUL");
        DrawTalkWindows();
    }
    g_pGameState = nullptr;
    return 0;
}
