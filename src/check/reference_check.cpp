#include "check/reference_check.h"

#include <algorithm>
#include <cstdint>

#include "base/diagnostics.h"
#include "base/formatted_input.h"
#include "base/sjis.h"
#include "sound/bgm_list.h"
#include "world/data_tables.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/menu_actions.h"
#include "world/title_file.h"

namespace {

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

// The last word of a party or enemy status file: the member's character (and face) name, with
// the line it stands on.
std::string LastToken(const std::string& text, int& line) {
    FormattedInput in(text);
    std::string token, last;
    size_t at = 0;
    while (true) {
        in.SkipSpace();
        const size_t start = in.Position();
        if (in.Scan("%s", &token) != 1) break;
        last = token;
        at = start;
    }
    line = PlaceInText(text, at, {}).line;
    return last;
}

// The names a field file hands to the loaders, read as the field loader reads the file: the six
// sky images, the ground images, the billboards' pictures and the meshes (less the unused
// entries). A file that stops early is the loader's to report.
void RequireFieldFiles(DataFiles& files, const std::string& rel, const std::string& text) {
    FormattedInput in(text);
    auto name = [&](const char* format, std::string& word, int& line) {
        in.SkipSpace();
        line = PlaceInText(text, in.Position(), {}).line;
        return in.Scan(format, &word) == 1;
    };
    int32_t v = 0;
    float f = 0;
    std::string word;
    int line = 0;
    if (in.Scan("%d,", &v) != 1 || !name("%s,", word, line)) return;
    for (int n = 0; n < kSkyImages; ++n)
        files.Require(rel, line, "tex/" + ToUtf8(word) + std::to_string(n) + ".bmp");
    for (int i = 0; i < kGroundTextureCount; ++i) {
        if (!name("%s\n", word, line)) return;
        if (!MarksUnusedEntry(word)) files.Require(rel, line, "Field/" + ToUtf8(word) + ".BMP");
    }
    for (int k = 0; k < 5 * kFieldGridSize * kFieldGridSize; ++k)
        if (in.Scan("%d,", &v) != 1) return;
    for (int i = 0; i < kBillboardCount; ++i) {
        if (in.Scan("%d,%d,", &v, &v) != 2 || in.Scan("%f,%f,%f,", &f, &f, &f) != 3 ||
            in.Scan("%f,%f,", &f, &f) != 2 || in.Scan("%d,%d,%d,%d,", &v, &v, &v, &v) != 4 ||
            !name("%s\n", word, line))
            return;
        if (!MarksUnusedEntry(word)) files.Require(rel, line, "tex/" + ToUtf8(word));
    }
    for (int i = 0; i < kFieldLightCount; ++i)
        if (in.Scan("%d,%d,", &v, &v) != 2 || in.Scan("%f,%f,%f,", &f, &f, &f) != 3 ||
            in.Scan("%f,%f,%f,", &f, &f, &f) != 3 || in.Scan("%f,", &f) != 1)
            return;
    for (int i = 0; i < kFieldMeshCount; ++i) {
        if (!name("%s\n", word, line)) return;
        if (!MarksUnusedEntry(word)) files.Require(rel, line, "Q3D/" + ToUtf8(word) + ".x");
        if (in.Scan("%d,", &v) != 1) return;
        for (int k = 0; k < 3; ++k)
            if (in.Scan("%f,%f,%f,", &f, &f, &f) != 3) return;
    }
}

// The title's picture is there, and its music is a name of the music list.
void CheckTitle(DataFiles& files, const std::string& rel, const std::string& bytes,
                Diagnostics& diag) {
    const TitleFile title = ParseTitleFile(bytes);
    if (!title.picture.empty()) {
        std::string picture = ToUtf8(title.picture);
        std::replace(picture.begin(), picture.end(), '\\', '/');
        files.Require(rel, 0, picture);
    }
    if (title.music.empty()) return;
    const std::string* list = files.Find("BGM/BGMData.qd");
    if (!list || !FindBgm(ParseBgmList(*list), title.music))
        files.Error(diag, rel, 0, 0,
                    "names music that the music list lacks: " + ToUtf8(title.music));
}

// The menu actions: every entry is on the menu table, and every label to run is a label of some
// field script (the one that runs when the entry is chosen is not known here).
void CheckMenuActions(DataFiles& files, const std::string& rel, const std::string& bytes,
                      Diagnostics& diag) {
    const std::string* menu = files.Find("Datas/MnuDatas.qd");
    const int32_t entries = menu ? CountTableLines(*menu) : 0;
    const MenuActions actions = ParseMenuActions(bytes, entries);
    // Entries past the seven the screen shows are the text check's.
    for (const std::string& problem : actions.problems) {
        if (entries < kMenuEntryCount && problem.find("not on the menu") != std::string::npos)
            files.Error(diag, rel, 0, 0, ToUtf8(problem) + " of Datas/MnuDatas.qd");
    }
    for (const MenuEntryAction& a : actions.entries) {
        if (a.action != MenuAction::kScript) continue;
        bool found = false;
        for (const auto& [file, text] : files.Files())
            found |= StartsWith(file, "SCR/") && !StartsWith(file, "SCR/bEv/") &&
                     !StartsWith(file, "SCR/wz/") &&
                     text.find("@:" + a.label + "//") != std::string::npos;
        if (!found)
            files.Error(diag, rel, a.line, 0, "no field script has the label " + ToUtf8(a.label));
    }
}

}  // namespace

void CheckReferences(DataFiles& files, Diagnostics& diag, const std::string& missing) {
    for (const auto& [rel, bytes] : files.Files()) {
        if (StartsWith(rel, "chara/") && EndsWith(rel, ".qd")) {
            std::string model;
            FormattedInput in(bytes);
            if (in.Scan("%s\n", &model) == 1) files.Require(rel, 1, "chara/" + ToUtf8(model));
        } else if (StartsWith(rel, "sChr/") && EndsWith(rel, ".qf")) {
            int line = 0;
            const std::string name = ToUtf8(LastToken(bytes, line));
            files.Require(rel, line, "chara/" + name + ".qd");
            // Party members also show their face on the menu screen.
            if (StartsWith(rel, "sChr/c")) files.Require(rel, line, "chara/face/" + name + ".bmp");
        } else if (StartsWith(rel, "Field/") && EndsWith(rel, ".qf")) {
            RequireFieldFiles(files, rel, bytes);
        } else if (rel == "Datas/Title.qd") {
            CheckTitle(files, rel, bytes, diag);
        } else if (rel == "Datas/MnuActions.qd") {
            CheckMenuActions(files, rel, bytes, diag);
        } else if (StartsWith(rel, "Wea/") && EndsWith(rel, ".qd")) {
            const std::string mesh = FirstLine(bytes);
            if (mesh != "NO") files.Require(rel, 1, "wea/" + ToUtf8(mesh) + ".x");
        }
    }
    files.CheckRequired(diag, missing);
}
