// A saved game's body can say anything once someone has edited it and put a new checksum on
// it: whatever it holds is either refused or taken up as a game that then plays its frames
// without harm.
#include <nlohmann/json.hpp>

#include "app/save_game.h"
#include "app/world_reset.h"
#include "base/frame.h"
#include "field/game_state.h"
#include "fuzz_common.h"
#include "gfx/d3d.h"
#include "ui/talk_window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), fuzz::DataDir("save-fuzz", {"SCR", "Field"}),
                        g_pd3dDevice = fuzz::Device(), true);
    (void)init;
    const nlohmann::json body = nlohmann::json::parse(data, data + size, nullptr, false);
    LoadableGame game;
    std::string reason;
    if (body.is_discarded()) return 0;
    game.ok = SnapshotFromJson(body, game.snapshot, reason);
    fuzz::Check(game.ok == reason.empty(), "a refusal without a reason");
    if (game.ok) {
        StartLoadedGame(game);
        for (int frame = 0; frame < 2 && g_FrameProc; ++frame) {
            g_FrameTime = 17;
            g_FrameProc();
        }
        for (const TalkWindow& w : g_TalkWindows) fuzz::Check(fuzz::Terminated(w.text), "talk");
    }
    ResetGameWorld();
    fuzz::FreshRun::Forget();
    return 0;
}
