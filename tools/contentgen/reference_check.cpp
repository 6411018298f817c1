#include "reference_check.h"

#include <algorithm>
#include <set>

#include "app/title_file.h"
#include "base/formatted_input.h"
#include "sound/bgm_list.h"
#include "world/data_tables.h"
#include "world/menu_actions.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The first line of a text, without its line end.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// The last word of a party or enemy status file: the member's character (and face) name.
std::string LastToken(const std::string& text) {
    FormattedInput in(text);
    std::string token, last;
    while (in.Scan("%s", &token) == 1) last = token;
    return last;
}

// The title's picture is built, and its music is a name of the music list.
void CheckTitle(OutputTree& out, const std::string& rel, const std::string& bytes,
                Diagnostics& diag) {
    const TitleFile title = ParseTitleFile(bytes);
    if (!title.picture.empty()) {
        std::string picture = title.picture;
        std::replace(picture.begin(), picture.end(), '\\', '/');
        out.Require("text/" + rel, picture);
    }
    if (title.music.empty()) return;
    const std::string* list = out.Find("BGM/BGMData.qd");
    if (!list || !FindBgm(ParseBgmList(*list), title.music))
        diag.Error("text/" + rel, 0, "names music that the music list lacks: " + title.music);
}

// The menu actions: every entry is on the built menu table, and every label to run is a label of
// some field script (the one that runs when the entry is chosen is not known here).
void CheckMenuActions(OutputTree& out, const std::string& rel, const std::string& bytes,
                      Diagnostics& diag) {
    const std::string* menu = out.Find("Datas/MnuDatas.qd");
    const int32_t entries = menu ? CountTableLines(*menu) : 0;
    const MenuActions actions = ParseMenuActions(bytes, entries);
    // Entries past the seven the screen shows are the text check's.
    for (const std::string& problem : actions.problems) {
        if (entries < kMenuEntryCount && problem.find("not on the menu") != std::string::npos)
            diag.Error("text/" + rel, 0, problem + " of Datas/MnuDatas.qd");
    }
    for (const MenuEntryAction& a : actions.entries) {
        if (a.action != MenuAction::kScript) continue;
        bool found = false;
        for (const auto& [file, text] : out.Files())
            found |= StartsWith(file, "SCR/") && !StartsWith(file, "SCR/bEv/") &&
                     !StartsWith(file, "SCR/wz/") &&
                     text.find("@:" + a.label + "//") != std::string::npos;
        if (!found) diag.Error("text/" + rel, a.line, "no field script has the label " + a.label);
    }
}

}  // namespace

void CheckReferences(OutputTree& out, Diagnostics& diag) {
    for (const auto& [rel, bytes] : out.Files()) {
        if (StartsWith(rel, "chara/") && EndsWith(rel, ".qd")) {
            std::string model;
            FormattedInput in(bytes);
            if (in.Scan("%s\n", &model) == 1) out.Require("text/" + rel, "chara/" + model);
        } else if (StartsWith(rel, "sChr/") && EndsWith(rel, ".qf")) {
            const std::string name = LastToken(bytes);
            out.Require("text/" + rel, "chara/" + name + ".qd");
            // Party members also show their face on the menu screen.
            if (StartsWith(rel, "sChr/c"))
                out.Require("text/" + rel, "chara/face/" + name + ".bmp");
        } else if (rel == "Datas/Title.qd") {
            CheckTitle(out, rel, bytes, diag);
        } else if (rel == "Datas/MnuActions.qd") {
            CheckMenuActions(out, rel, bytes, diag);
        } else if (StartsWith(rel, "Wea/") && EndsWith(rel, ".qd")) {
            const std::string mesh = FirstLine(bytes);
            if (mesh != "NO") out.Require("text/" + rel, "wea/" + mesh + ".x");
        }
    }
    std::set<std::string> have;
    for (const auto& [rel, bytes] : out.Files()) have.insert(Lower(rel));
    for (const OutputTree::Requirement& r : out.Required()) {
        if (!have.count(Lower(r.path)))
            diag.Error(r.from, 0, "names " + r.path + ", which is not built");
    }
}
