#include "script/script_runner.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "app/game_state.h"
#include "app/message_box.h"
#include "app/sprite.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"

FieldCommandHandler g_FieldCommandHandler = nullptr;
const char* g_ScriptReportName = "";
int32_t g_ScriptReportPos = 0;

namespace {

std::set<std::pair<std::string, int32_t>> g_Reported;

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr int32_t kFadeLoadFrame = 15;
constexpr int32_t kFadeDarkFrame = 16;
constexpr int32_t kFadeEndFrame = 31;

bool FieldPrefix(QScrOrg& s, char prefix) {
    switch (prefix) {
        case 'f':
            if (g_FieldCommandHandler) {
                g_FieldCommandHandler(s);
            } else {
                ScriptError(s, "field command not available");
            }
            return true;
        case '|':
            s.stepping = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

void ResetScriptReports() {
    g_Reported.clear();
}

void ScriptError(const QScrOrg& s, const char* what) {
    (void)s;
    std::string name = g_ScriptReportName ? g_ScriptReportName : "";
    if (!g_Reported.emplace(name, g_ScriptReportPos).second) return;
    char text[256];
    std::snprintf(text, sizeof text, "%s:%d: %s", name.c_str(), int(g_ScriptReportPos), what);
    ErrorBox(text);
}

void RunScriptLoop(QScrOrg& s, const char* name, ScriptPrefixHandler extra) {
    const char* savedName = g_ScriptReportName;
    g_ScriptReportName = name ? name : "";
    s.stepping = 1;
    int32_t steps = 0;
    while (s.stepping) {
        if (s.pc < 0 || s.pc >= QScrOrg::kTextSize) {
            g_ScriptReportPos = s.pc;
            ScriptError(s, "reading outside the script");
            s.stepping = 0;
            s.running = 0;
            break;
        }
        if (++steps > kMaxStepsPerFrame) {
            g_ScriptReportPos = s.pc;
            ScriptError(s, "no end of frame");
            s.stepping = 0;
            break;
        }
        g_ScriptReportPos = s.pc;
        const int32_t at = s.pc;
        const char c = s.text[s.pc++];
        switch (c) {
            case '#':
                s.stepping = 0;
                break;
            case ';':
                s.stepping = 0;
                s.running = 0;
                break;
            case 'c':
                ExecCommand(s);
                break;
            default:
                if (extra) extra(s, c);
                break;
        }
        // A jump back searches the text: it weighs more, so that a loop is cut after fewer.
        if (s.pc <= at) steps += kBackJumpSteps - 1;
    }
    g_ScriptReportName = savedName;
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
    RunScriptLoop(s, g_FieldScriptName, FieldPrefix);
}
