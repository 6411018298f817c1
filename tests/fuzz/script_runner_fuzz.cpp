// Scripts come from authors: whatever the text, a frame of the runner must end, stay inside
// every table and leave the script readable. The first byte picks the fade counter and the
// first variables; the rest is the script text, run for a few frames through the field runner
// with the field's own commands (talk windows, the choice list, script, field and character
// loads from a data directory that holds none of them).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/game_state.h"
#include "app/host.h"
#include "app/message_box.h"
#include "app/null_host.h"
#include "app/paths.h"
#include "battle/battle.h"
#include "battle/talk_window.h"
#include "platform/iconv_codec.h"
#include "script/commands_field.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_runtime.h"
#include "world/field_tables.h"
#include "world/party.h"

namespace {

constexpr int kFrames = 3;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string g_Dir;

void Setup() {
    static IconvCodec codec;
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    g_Host.codec = &codec;
    g_Host.dialogs = &dialogs;
    g_Dir = (std::filesystem::temp_directory_path() /
             ("gh02-runner-fuzz-" + std::to_string(std::rand())))
                .string();
    std::filesystem::create_directories(g_Dir + "/SCR");
    SetDataDirectory(g_Dir);
    g_FieldCommandHandler = ExecFieldCommand;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_Dir, ec);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (Setup(), true);
    (void)init;
    if (size == 0) return 0;
    g_MessageBoxLog.clear();
    ResetScriptReports();
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
    std::memset(s.text, 0, sizeof s.text);
    const size_t bodySize =
        size - 1 < size_t(QScrOrg::kMaxFileText) ? size - 1 : size_t(QScrOrg::kMaxFileText);
    std::memcpy(s.text, data + 1, bodySize);
    std::memcpy(s.text + bodySize, "c0", 2);
    s.pc = 0;
    s.running = 1;
    s.aux = (data[0] & 0x80) ? 14 : 0;
    for (int i = 0; i < QScrOrg::kIntVars; ++i) s.iv[i] = int32_t(data[0] % (i + 3)) - 1;
    std::memset(s.str, 0, sizeof s.str);

    for (int frame = 0; frame < kFrames && s.running; ++frame) {
        RunFieldScript();
        Check(s.stepping == 0, "frame ended while stepping");
        Check(std::memchr(s.str, '\0', sizeof s.str) != nullptr, "str without its NUL");
        for (const TalkWindow& w : g_TalkWindows)
            Check(std::memchr(w.text, '\0', sizeof w.text) != nullptr, "talk text without NUL");
        for (const MenuListEntry& e : state.messageWindow.entries)
            Check(std::memchr(e.text, '\0', sizeof e.text) != nullptr, "entry without NUL");
        DrawTalkWindows();
    }
    g_pGameState = nullptr;
    return 0;
}
