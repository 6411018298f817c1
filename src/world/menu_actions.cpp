#include "world/menu_actions.h"

#include <algorithm>
#include <iterator>

#include "base/config_lines.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/parse_int.h"
#include "base/paths.h"
#include "world/data_tables.h"

namespace {

MenuActions g_Actions;

struct Word {
    const char* word;
    MenuAction action;
};

constexpr Word kWords[] = {
    {"items", MenuAction::kItems},         {"techniques", MenuAction::kTechniques},
    {"equipment", MenuAction::kEquipment}, {"strength", MenuAction::kStrength},
    {"order", MenuAction::kOrder},         {"settings", MenuAction::kSettings},
    {"save", MenuAction::kSave},           {"close", MenuAction::kClose},
    {"script", MenuAction::kScript},
};

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// What the line sets, or why it cannot be used.
std::string ReadLine(const ConfigLine& line, int32_t entries, MenuActions& out) {
    int64_t entry = 0;
    if (!ParseWholeInt(line.key, entry)) return "an entry number, not " + Quoted(line.key);
    if (entry < 0 || entry >= entries)
        return "entry " + std::to_string(entry) + " is not on the menu (" +
               (entries > 0 ? "0-" + std::to_string(entries - 1) : std::string("it has none")) +
               ")";
    MenuEntryAction& e = out.entries[size_t(entry)];
    if (e.action != MenuAction::kNone)
        return "entry " + std::to_string(entry) + " was given on line " + std::to_string(e.line);
    const std::string_view verb = line.value.substr(0, line.value.find_first_of(" \t"));
    const auto known = std::find_if(std::begin(kWords), std::end(kWords),
                                    [&](const Word& w) { return verb == w.word; });
    if (verb.empty()) return "entry " + std::to_string(entry) + " without an action";
    if (known == std::end(kWords)) return "unknown action " + Quoted(verb);
    std::string_view rest = line.value.substr(verb.size());
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (known->action == MenuAction::kScript) {
        if (rest.empty()) return "\"script\" without a label";
        if (rest.size() > kMaxMenuLabelLength)
            return "label longer than " + std::to_string(kMaxMenuLabelLength) + " bytes";
        if (rest.find("//") != std::string_view::npos) return "a label cannot hold \"//\"";
    } else if (!rest.empty()) {
        return Quoted(verb) + " takes nothing after it";
    }
    e = {known->action, std::string(rest), line.number};
    return {};
}

}  // namespace

MenuActions ParseMenuActions(std::string_view text, int32_t entryCount) {
    MenuActions out;
    const int32_t entries = std::clamp(entryCount, 0, kMenuEntryCount);
    for (const ConfigLine& line : ReadConfigLines(text)) {
        const std::string why = ReadLine(line, entries, out);
        if (!why.empty())
            out.problems.push_back("line " + std::to_string(line.number) + ": " + why);
    }
    return out;
}

const char* MenuActionWord(MenuAction action) {
    for (const Word& w : kWords)
        if (w.action == action) return w.word;
    return "none";
}

const MenuActions& DataSetMenuActions() {
    return g_Actions;
}

void LoadMenuActions() {
    g_Actions = MenuActions();
    const std::string path = std::string(GetBasePath()) + kMenuActionsPath;
    if (!GameFileExists(path)) return;
    const FileRead file = ReadGameFile(path, kMaxMenuActionsFileBytes, LongFile::kRefuse);
    if (file.Ok()) {
        CheckDataText(file.bytes, path);
        g_Actions = ParseMenuActions(TextModeText(file.bytes), MenuEntries.Count());
    } else {
        g_Actions.problems.push_back(file.status == FileStatus::kTooLong
                                         ? "longer than " +
                                               std::to_string(kMaxMenuActionsFileBytes) + " bytes"
                                         : std::string("cannot be read"));
    }
    if (g_Actions.problems.empty()) return;
    std::string text = std::string(kMenuActionsPath) + ":";
    for (const std::string& p : g_Actions.problems) text += "\n" + p;
    RZ_MsgBox(text);
}

void ReleaseMenuActions() {
    g_Actions = MenuActions();
}
