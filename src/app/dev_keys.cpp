#include "app/dev_keys.h"

#include <string_view>

#include "base/diagnostics.h"
#include "base/frame.h"
#include "base/host.h"
#include "base/sjis.h"
#include "field/field_frame.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "gfx/text.h"
#include "script/qscr_org.h"
#include "world/character.h"
#include "world/field_info.h"

bool g_DevKeys = false;

namespace {

constexpr uint32_t kF5 = 0x74;
constexpr uint32_t kF6 = 0x75;
bool g_OverlayShown = false;

// The name of the last label at or before the script position ("" when none).
std::string LabelBefore(std::string_view text, size_t pc) {
    size_t at = text.rfind("@:", pc < text.size() ? pc : text.size());
    while (at != std::string_view::npos) {
        const size_t end = text.find("//", at + 2);
        if (end != std::string_view::npos && end <= pc + 2)
            return std::string(text.substr(at + 2, end - at - 2));
        if (at == 0) break;
        at = text.rfind("@:", at - 1);
    }
    return {};
}

}  // namespace

void DevKeyDown(uint32_t key, uint32_t flags) {
    if (!g_DevKeys || (flags & kKeyWasDown)) return;
    if (key == kF5) {
        if (ReloadFieldFromDisk())
            LogProgress("reloaded " + ShownPath(std::string("Field\\") + g_FieldName + ".qf") +
                        " and " + ShownPath(std::string("SCR\\") + g_FieldScriptName + ".qd"));
    } else if (key == kF6) {
        g_OverlayShown = !g_OverlayShown;
    }
}

bool ReloadFieldFromDisk() {
    GameState* gs = g_pGameState;
    if (!gs || g_FrameProc != FieldFrame) return false;
    Character& leader = g_Characters[0];
    const Vector3 position = leader.position, rotation = leader.rotation;
    LoadFieldScript(g_FieldScriptName);
    QScrOrg& script = gs->fieldScript;
    script.pc = script.EndOfText();
    script.running = 0;
    script.aux = 0;
    ReloadField();
    leader.position = position;
    leader.rotation = rotation;
    return true;
}

std::string WhereTheGameStands() {
    const GameState* gs = g_pGameState;
    std::string shown = "field " + ToUtf8(g_FieldName);
    if (!gs) return shown;
    const QScrOrg& s = gs->fieldScript;
    const std::string file = ShownPath(std::string("SCR\\") + g_FieldScriptName + ".qd");
    const std::string_view text(s.text, std::char_traits<char>::length(s.text));
    const size_t pc = s.pc < 0 ? 0 : size_t(s.pc);
    const SourcePlace at = PlaceInText(text, pc, file);
    const std::string label = LabelBefore(text, pc);
    return shown + "  " + file + "  label " + (label.empty() ? "-" : ToUtf8(label)) + "  at " +
           std::to_string(at.line) + ":" + std::to_string(at.column) +
           (s.running ? "" : " (waiting)");
}

void DrawDevOverlay() {
    if (!g_DevKeys || !g_OverlayShown) return;
    DrawShadowText(ToSjis(WhereTheGameStands()).c_str(), 8, 460, 255, 255, 160);
}
