#include "script/script_runner.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/message_box.h"
#include "base/report_once.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"

const char* g_ScriptReportName = "";
int32_t g_ScriptReportPos = 0;

namespace {

// Each script position reports its first error only.
ReportOnce g_Reported;

}  // namespace

void ResetScriptReports() {
    g_Reported.Reset();
}

void ScriptError(const QScrOrg& s, const char* what) {
    (void)s;
    std::string name = g_ScriptReportName ? g_ScriptReportName : "";
    // A name is a C string, so a NUL keeps it apart from the position.
    if (!g_Reported.First(name + '\0' + std::to_string(g_ScriptReportPos))) return;
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
