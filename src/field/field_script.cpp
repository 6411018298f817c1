#include "field/field_script.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/fixed_text.h"
#include "field/field_commands.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "gfx/sprite.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/encounters.h"
#include "world/field_info.h"
#include "world/input_gate.h"
#include "world/mode_words.h"

char g_FieldScriptName[kScriptNameSize] = {};
int32_t g_ScriptResumePos = 0;

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr int32_t kFadeLoadFrame = 15;
constexpr int32_t kFadeDarkFrame = 16;
constexpr int32_t kFadeEndFrame = 31;

// "|" ends the frame.
bool FieldMark(QScrOrg& s, char mark) {
    if (mark != '|') return false;
    s.stepping = 0;
    return true;
}

}  // namespace

void LoadFieldScript(const char* name) {
    // The name may be g_FieldScriptName itself.
    char copy[kScriptNameSize];
    CopyFixedText(copy, name);
    CopyFixedText(g_FieldScriptName, copy);
    if (g_pGameState) g_pGameState->fieldScript.Load(g_FieldScriptName);
}

void StartField() {
    GameState* gs = g_pGameState;
    if (!gs) return;
    g_EncounterRate = 8;
    g_FieldInputEnabled = 0;

    LoadFieldScript(g_FieldScriptName);
    QScrOrg& script = gs->fieldScript;
    // A kept position past the text would read outside it; such a script ends at once instead.
    script.pc = g_ScriptResumePos >= 0 && g_ScriptResumePos < QScrOrg::kTextSize
                    ? g_ScriptResumePos
                    : script.EndOfText();
    script.aux = 15;
    script.running = 0;

    Character& second = g_Characters[1];
    second.rotation.y = 0.0f;
    second.position.Set(20000.0f, 0.0f, -10240.0f);

    gs->messageWindow.open = 0;
    ClearList(gs->messageWindow);
    CloseTalkWindows();

    g_ModeNow = 0;
    g_ModeNext = 0;

    ReloadField();
}

void ReloadField() {
    GameState* gs = g_pGameState;
    if (!gs) return;
    if (!gs->fieldInfo) gs->fieldInfo = std::make_unique<QFldInfo>();
    gs->fieldInfo->load(g_FieldName, &gs->groundLighting);
    gs->walkAnimating = 0;
    gs->fieldHandler = FieldFadeIn;
}

void RunFieldScript() {
    if (!g_pGameState) return;
    QScrOrg& s = g_pGameState->fieldScript;
    if (s.aux != 0) {
        ++s.aux;
        if (s.aux > 0 && s.aux < kFadeEndFrame) {
            const int32_t alpha = s.aux <= 15 ? 16 * s.aux : (255 - 16 * s.aux) & 0xFF;
            DrawScreenRect(0, 0, 640, 480, uint32_t(alpha) << 24);
            if (s.aux == kFadeLoadFrame) {
                DrawScreenRect(0, 0, 640, 480, kOpaqueBlack);
                // The name is copied first: loading may not read from the register it fills.
                char name[QScrOrg::kStrSize];
                std::memcpy(name, s.str, sizeof name);
                name[sizeof name - 1] = '\0';
                LoadFieldScript(name);
            } else if (s.aux == kFadeDarkFrame) {
                DrawScreenRect(0, 0, 640, 480, kOpaqueBlack);
            }
            return;
        }
        // The last fade frame, or a counter that has run out of its range: the script goes on.
        if (s.aux == kFadeEndFrame) DrawScreenRect(0, 0, 640, 480, 15u << 24);
        s.aux = 0;
    }
    RunScriptLoop(s, g_FieldScriptName, &kFieldCommands, FieldMark);
}
