#include "script/script_runner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/message_box.h"
#include "base/report_once.h"
#include "base/sjis.h"
#include "script/command_table.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"

ScriptReportPlace g_ScriptReport;

namespace {

// Each script position reports its first error only.
ReportOnce g_Reported;

}  // namespace

void ResetScriptReports() {
    g_Reported.Reset();
}

SourcePlace ScriptPlace() {
    const ScriptReportPlace& at = g_ScriptReport;
    std::string file = "SCR/" + ToUtf8(at.name ? at.name : "") + ".qd";
    std::replace(file.begin(), file.end(), '\\', '/');
    if (!at.script) return SourcePlace{file};
    const char* text = at.script->text;
    const void* nul = std::memchr(text, '\0', QScrOrg::kTextSize);
    const size_t size = nul ? size_t(static_cast<const char*>(nul) - text) : QScrOrg::kTextSize;
    return PlaceInText(std::string_view(text, size), size_t(std::max(at.pos, 0)), file);
}

void ScriptError(const QScrOrg& s, const char* what) {
    (void)s;
    const ScriptReportPlace& at = g_ScriptReport;
    std::string name = at.name ? at.name : "";
    // A name is a C string, so a NUL keeps it apart from the position.
    if (!g_Reported.First(name + '\0' + std::to_string(at.pos))) return;
    char text[320];
    std::string english = what;
    if (at.command) {
        std::snprintf(text, sizeof text, "%s:%d: %c%d %s: %s", name.c_str(), int(at.pos), at.prefix,
                      int(at.command->number), at.command->name, what);
        english = std::string(1, at.prefix) + std::to_string(at.command->number) + " " +
                  at.command->name + ": " + what;
    } else {
        std::snprintf(text, sizeof text, "%s:%d: %s", name.c_str(), int(at.pos), what);
    }
    ErrorBox(text, english);
}

void RunCommand(QScrOrg& s, const CommandTable& table) {
    const CommandEntry* command = table.Find(ReadCommandNumber(s));
    if (!command) return;
    const ScriptReportPlace saved = g_ScriptReport;
    g_ScriptReport.prefix = table.prefix;
    g_ScriptReport.command = command;
    command->run(s);
    g_ScriptReport.prefix = saved.prefix;
    g_ScriptReport.command = saved.command;
}

bool JumpToLabel(QScrOrg& s, const char* name, const char* label) {
    const ScriptReportPlace saved = g_ScriptReport;
    const PlaceFinder savedFinder = SetPlaceFinder(ScriptPlace);
    g_ScriptReport = ScriptReportPlace{};
    g_ScriptReport.name = name ? name : "";
    g_ScriptReport.script = &s;
    g_ScriptReport.pos = s.pc;
    const bool found = s.jpAf(label ? label : "");
    SetPlaceFinder(savedFinder);
    g_ScriptReport = saved;
    return found;
}

void RunScriptLoop(QScrOrg& s, const char* name, const CommandTable* own, ScriptMarkHandler marks) {
    const ScriptReportPlace saved = g_ScriptReport;
    const PlaceFinder savedFinder = SetPlaceFinder(ScriptPlace);
    g_ScriptReport.name = name ? name : "";
    g_ScriptReport.script = &s;
    g_ScriptReport.prefix = 0;
    g_ScriptReport.command = nullptr;
    s.stepping = 1;
    int32_t steps = 0;
    while (s.stepping) {
        g_ScriptReport.pos = s.pc;
        if (s.pc < 0 || s.pc >= QScrOrg::kTextSize) {
            ScriptError(s, "reading outside the script");
            s.stepping = 0;
            s.running = 0;
            break;
        }
        if (++steps > kMaxStepsPerFrame) {
            ScriptError(s, "no end of frame");
            s.stepping = 0;
            break;
        }
        const int32_t at = s.pc;
        const char c = s.text[s.pc++];
        if (c == '#') {
            s.stepping = 0;
        } else if (c == ';') {
            s.stepping = 0;
            s.running = 0;
        } else if (c == kCommonCommands.prefix) {
            RunCommand(s, kCommonCommands);
        } else if (own && c == own->prefix) {
            RunCommand(s, *own);
        } else if (marks) {
            marks(s, c);
        }
        // A jump back searches the text: it weighs more, so that a loop is cut after fewer.
        if (s.pc <= at) steps += kBackJumpSteps - 1;
    }
    // The position is left where the frame ended.
    SetPlaceFinder(savedFinder);
    g_ScriptReport.name = saved.name;
    g_ScriptReport.script = saved.script;
    g_ScriptReport.prefix = saved.prefix;
    g_ScriptReport.command = saved.command;
}
