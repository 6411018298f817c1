#include "text_convert.h"

#include <cctype>
#include <vector>

#include "app/settings.h"
#include "base/host.h"
#include "check/table_check.h"
#include "world/menu_actions.h"
#include "world/title_file.h"

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Command prefixes of the runner that plays scripts under this path.
std::string_view RunnerPrefixes(const std::string& rel) {
    if (StartsWith(rel, "SCR/bEv/")) return "#;ce~";
    if (StartsWith(rel, "SCR/wz/")) return "#;cw";
    return "#;cf|";
}

void CheckLabels(std::string_view sjis, const std::string& rel, int line, Diagnostics& diag) {
    const std::string_view prefixes = RunnerPrefixes(rel);
    size_t at = 0;
    while ((at = sjis.find("@:", at)) != std::string_view::npos) {
        size_t end = sjis.find("//", at + 2);
        std::string_view name = sjis.substr(
            at + 2, end == std::string_view::npos ? std::string_view::npos : end - at - 2);
        if (end == std::string_view::npos) {
            diag.Error(rel, line, "label without its closing //");
            return;
        }
        // A name with a blank in it is a label whose "//" was left out: the game's search runs
        // on to the next "//" on the line, which belongs to some command.
        if (const size_t blank = name.find(' '); blank != std::string_view::npos) {
            diag.Error(rel, line,
                       "label @:" + std::string(name.substr(0, blank)) +
                           " without its closing // (write @:" +
                           std::string(name.substr(0, blank)) + "//)");
            at = end + 2;
            continue;
        }
        if (name.size() > 63) diag.Error(rel, line, "label name longer than 63 bytes");
        for (char c : name) {
            if (prefixes.find(c) != std::string_view::npos) {
                diag.Error(rel, line,
                           std::string("label name contains the command prefix '") + c + "'");
                break;
            }
        }
        at = end + 2;
    }
}

// The game skips to the blank behind a command's number before it reads the arguments, so a
// command at the end of a line with no blank would swallow the start of the next line.
void CheckCommandEnds(std::string_view line, const std::string& rel, int number,
                      Diagnostics& diag) {
    size_t end = line.size();
    while (end > 0 && line[end - 1] >= '0' && line[end - 1] <= '9') --end;
    if (end == line.size() || end == 0) return;
    const char prefix = line[end - 1];
    const bool before = end == 1 || !std::isalnum(static_cast<unsigned char>(line[end - 2]));
    if (before && RunnerPrefixes(rel).find(prefix) != std::string_view::npos && prefix != '#' &&
        prefix != ';' && prefix != '|' && prefix != '~') {
        diag.Error(rel, number, "a command needs a blank after its number at the end of a line");
    }
}

}  // namespace

bool ConvertTextSource(ITextCodec& codec, std::string_view utf8, const std::string& rel,
                       std::string& sjis, Diagnostics& diag, std::vector<int>* lineMap) {
    // The data set's settings are plain text (ASCII): kept as written, checked as the game
    // reads them.
    if (rel == "Datas/Settings.ini") {
        Settings settings;
        std::vector<std::string> problems;
        ParseSettings(utf8, settings, problems);
        for (const std::string& p : problems) diag.Error(rel, 0, p);
        sjis = std::string(utf8);
        return problems.empty();
    }
    const bool script = StartsWith(rel, "SCR/");
    const bool title = rel == "Datas/Title.qd";
    const bool menuActions = rel == "Datas/MnuActions.qd";
    const bool table = IsDataTable(rel);
    if (StartsWith(utf8, "\xEF\xBB\xBF")) utf8.remove_prefix(3);
    std::vector<SourceLine> lines = SplitLines(utf8);
    if (table) {
        while (!lines.empty() && lines.back().text.empty()) lines.pop_back();
    }
    const size_t errorsBefore = diag.Messages().size();
    size_t scriptChars = 0;
    sjis.clear();
    if (lineMap) lineMap->clear();
    for (const SourceLine& line : lines) {
        if (script) {
            std::string_view t = line.text;
            size_t b = t.find_first_not_of(" \t");
            if (b != std::string_view::npos && StartsWith(t.substr(b), "%%")) continue;
        }
        std::string converted;
        if (!codec.Utf8ToCp932(line.text, converted)) {
            diag.Error(rel, line.number, "text that Shift-JIS cannot hold");
        }
        if (script) {
            CheckLabels(converted, rel, line.number, diag);
            CheckCommandEnds(converted, rel, line.number, diag);
        }
        if (table)
            for (const std::string& problem : TableLineProblems(converted, rel))
                diag.Error(rel, line.number, problem);
        sjis += converted;
        sjis += "\r\n";
        if (lineMap) lineMap->push_back(line.number);
        scriptChars += converted.size() + 1;
    }
    if (title || menuActions) {
        // Read as the game reads it; its problems name their lines. (The menu table's own
        // length is checked against the built table with the references.)
        const std::vector<std::string> problems =
            title ? ParseTitleFile(sjis).problems
                  : ParseMenuActions(sjis, kMenuEntryCount).problems;
        for (const std::string& problem : problems) {
            std::string utf8Problem;
            codec.Cp932ToUtf8(problem, utf8Problem);
            diag.Error(rel, 0, utf8Problem);
        }
    }
    if (script && scriptChars > kMaxScriptText) {
        diag.Error(rel, 0,
                   "script of " + std::to_string(scriptChars) + " characters; at most " +
                       std::to_string(kMaxScriptText) + " fit");
    }
    return diag.Messages().size() == errorsBefore;
}
