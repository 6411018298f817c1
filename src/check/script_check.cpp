#include "check/script_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/formatted_input.h"
#include "base/sjis.h"
#include "check/script_scan.h"

namespace {

// An integer argument as the game's reader converts it (the scanner made sure it is one),
// kept within 32 bits so that no text can overflow the arithmetic here.
long long ArgInt(const std::string& arg) {
    const long long v = std::strtoll(arg.c_str(), nullptr, 10);
    return std::max(-2147483648LL, std::min(2147483647LL, v));
}

struct Script {
    std::string rel;
    const std::string* text;
    ScriptScan scan;
};

// A script command's place.
struct ScriptAt {
    const Script* script = nullptr;
    size_t offset = 0;
};

class Checker {
public:
    Checker(DataFiles& out, Diagnostics& diag) : out_(out), diag_(diag) {}

    void Run() {
        ReadMusicNames();
        // A data set without enemies (a field-only test set) has no battles to check.
        for (const auto& [rel, bytes] : out_.Files())
            hasEnemies_ = hasEnemies_ || rel.compare(0, 6, "sChr/e") == 0;
        for (const auto& [rel, bytes] : out_.Files()) {
            if (rel.compare(0, 4, "SCR/") != 0 || rel.size() < 3 ||
                rel.compare(rel.size() - 3, 3, ".qd") != 0)
                continue;
            scripts_.push_back(Script{rel, &bytes, ScanScript(bytes, RunnerForScript(rel))});
        }
        fieldScripts_.insert({{kFirstField, kFirstScript}, {}});
        for (const Script& s : scripts_) CheckScript(s);
        for (const auto& [pair, from] : fieldScripts_)
            CheckFieldEvents(pair.first, pair.second, from);
        if (hasEnemies_) CheckBattle();
    }

private:
    // A finding at a script's offset (npos: the script as a whole).
    void Error(const Script& s, size_t offset, const std::string& what) {
        if (offset == std::string::npos) {
            out_.Error(diag_, s.rel, 0, 0, what);
            return;
        }
        const SourcePlace at = PlaceInText(*s.text, offset, s.rel);
        out_.Error(diag_, s.rel, at.line, at.column, what);
    }
    void Require(const Script& s, const ScriptCommand& c, const std::string& path) {
        const SourcePlace at = PlaceInText(*s.text, c.offset, s.rel);
        out_.Require(s.rel, at.line, path, at.column);
    }

    // Names in scripts are Shift-JIS bytes; paths of the data set are UTF-8.
    static std::string Path(const std::string& sjis) { return ToUtf8(sjis); }

    void ReadMusicNames() {
        const std::string* list = out_.Find("BGM/BGMData.qd");
        if (!list) return;
        size_t start = 0;
        while (start < list->size()) {
            size_t end = list->find('\n', start);
            if (end == std::string::npos) end = list->size();
            const std::string line = list->substr(start, end - start);
            start = end + 1;
            const size_t b = line.find_first_not_of(" \t\r");
            if (b == std::string::npos || line[b] == '#') continue;
            musicNames_.insert(AsciiLower(line.substr(b, line.find_first_of(" \t\r", b) - b)));
        }
    }

    bool Jumps(const Script& s, const std::string& label, bool forward, size_t after) const {
        auto it = s.scan.labels.find(label);
        if (it == s.scan.labels.end()) return false;
        for (size_t at : it->second)
            if (forward ? at >= after : at < after) return true;
        return false;
    }

    // Integer arguments that read a variable when negative (-k is iv[k - 1], so -1 to -4), by
    // command; c6 knows only -1, and c19's value (-k is fv[k - 1]) reaches -6.
    void CheckReferences(const Script& s, const ScriptCommand& c) {
        static const std::map<std::pair<char, int>, std::vector<size_t>> kIntRefs = {
            {{'c', 1}, {0, 1}}, {{'c', 19}, {0}}, {{'c', 23}, {0}},    {{'c', 24}, {0}},
            {{'c', 25}, {0}},   {{'c', 27}, {0}}, {{'c', 30}, {0, 1}}, {{'c', 32}, {0, 1}},
            {{'f', 11}, {0}},   {{'w', 12}, {0}}};
        auto bad = [&](const std::string& why) { Error(s, c.offset, "\"" + c.text + "\" " + why); };
        if (auto it = kIntRefs.find({c.prefix, c.number}); it != kIntRefs.end())
            for (size_t i : it->second)
                if (i < c.args.size() && ArgInt(c.args[i]) < -4)
                    bad("reads integer variable " + std::to_string(-ArgInt(c.args[i]) - 1) +
                        "; there are 0 to 3 (write a negative number with \"-\" instead)");
        if (c.prefix == 'c' && c.number == 6 && ArgInt(c.args[0]) < -1)
            bad("names a character with a number below -1, which only -1 (iv[0]) may be");
        const double value =
            c.prefix == 'c' && c.number == 19 ? std::strtod(c.args[1].c_str(), nullptr) : 0;
        if (value <= -7)
            bad("reads float variable " +
                std::to_string(value < -1e9 ? -1000000000LL : -(long long)(value)-1) +
                "; there are 0 to 5 (a negative value is a variable: set 0, then subtract)");
    }

    void CheckScript(const Script& s) {
        for (const ScriptProblem& p : s.scan.problems) Error(s, p.offset, p.what);
        std::string loadedField;  // the last field this script loaded, for its next script change
        for (const ScriptCommand& c : s.scan.commands) {
            CheckReferences(s, c);
            const auto& a = c.args;
            const int n = c.number;
            if (c.prefix == 'c' && (n == 4 || n == 5)) {
                const bool forward = a[1][0] <= '0';
                if (!Jumps(s, a[0], forward, c.offset + c.text.size()))
                    Error(s, c.offset,
                          "\"" + c.text + "\" finds no label " + a[0] +
                              (forward ? " after it" : " before it"));
            } else if ((c.prefix == 'c' && n == 11) || (c.prefix == 'w' && n == 2)) {
                if (!a[1].empty()) Require(s, c, "SE/" + Path(a[1]) + ".wav");
            } else if ((c.prefix == 'c' && n == 25) || (c.prefix == 'f' && n == 11)) {
                Require(s, c, "chara/" + Path(a[1]) + ".qd");
            } else if (c.prefix == 'c' && (n == 26 || n == 28)) {
                if (!musicNames_.count(AsciiLower(a[0])))
                    Error(s, c.offset, "\"" + c.text + "\" names music that the music list lacks");
            } else if (c.prefix == 'f' && n == 1) {
                Require(s, c, "SCR/" + Path(a[0]) + ".qd");
                if (!loadedField.empty())
                    fieldScripts_.insert({{loadedField, Path(a[0])}, {&s, c.offset}});
                loadedField.clear();
            } else if (c.prefix == 'f' && n == 2) {
                loadedField = Path(a[0]);
                Require(s, c, "Field/" + loadedField + ".qf");
            } else if (c.prefix == 'f' && n == 12 && hasEnemies_) {
                for (const std::string& e : a)
                    if (ArgInt(e) >= 0) Require(s, c, "sChr/e" + std::to_string(ArgInt(e)) + ".qf");
            }
        }
    }

    const Script* FindScript(const std::string& name) const {
        for (const Script& s : scripts_)
            if (AsciiLower(s.rel) == AsciiLower("SCR/" + name + ".qd")) return &s;
        return nullptr;
    }

    // Every event of the field's map starts PLACE<event - 1> in the script that runs on it;
    // every character that script places by number is spoken to through SPEAK<number>.
    void CheckFieldEvents(const std::string& field, const std::string& scriptName,
                          const ScriptAt& from) {
        const Script* s = FindScript(scriptName);
        const std::string* qf = out_.Find("Field/" + field + ".qf");
        if (!s || !qf) return;  // named files are checked on their own
        FormattedInput in(*qf);
        int32_t v = 0;
        std::string word;
        in.Scan("%d,", &v);
        in.Scan("%s,", &word);
        for (int i = 0; i < 32; ++i) in.Scan("%s\n", &word);
        std::set<int> events;
        for (int section = 0; section < 4; ++section) {
            for (int i = 0; i < 1024; ++i) {
                if (in.Scan("%d,", &v) != 1) return;
                if (section == 3 && (v & 0x7F) != 0) events.insert(v & 0xFF);
            }
        }
        for (int e : events) {
            const std::string label = "PLACE" + std::to_string(e - 1);
            if (!s->scan.labels.count(label) && from.script)
                Error(*from.script, from.offset,
                      "runs " + s->rel + " on field " + field + ", whose event " +
                          std::to_string(e - 1) + " starts the label " + label +
                          ", which that script lacks");
            else if (!s->scan.labels.count(label))
                Error(*s, std::string::npos,
                      "field " + field + " has event " + std::to_string(e - 1) +
                          " but the script has no label " + label);
        }
        for (const ScriptCommand& c : s->scan.commands) {
            const bool places =
                (c.prefix == 'c' && c.number == 25) || (c.prefix == 'f' && c.number == 11);
            if (!places || !IsWholeNumber(c.args[0]) || ArgInt(c.args[0]) < 1) continue;
            const std::string label = "SPEAK" + std::to_string(ArgInt(c.args[0]));
            if (!s->scan.labels.count(label))
                Error(*s, c.offset,
                      "\"" + c.text + "\" places a character without a label " + label);
        }
    }

    // A fighter's status file: commands, technique sets, default action and weapon.
    struct Fighter {
        bool ok = false;
        int32_t defaultAction = 0, weapon = 0;
        int32_t commands[5] = {};
        int32_t sets[6] = {};  // the first word of each category's set (techniques 0-31)
    };

    Fighter ReadFighter(const std::string& text, bool party) {
        Fighter f;
        FormattedInput in(text);
        std::string name;
        int32_t v = 0;
        if (in.Scan("%s\n", &name) != 1 || in.Scan("%d,%d\n", &v, &v) != 2) return f;
        for (int i = 0; i < 11; ++i)
            if (in.Scan("%d,", &v) != 1) return f;
        if (in.Scan("%d\n", &v) != 1 || in.Scan("%d\n", &f.defaultAction) != 1 ||
            in.Scan("%d,%d,\n", &f.weapon, &v) != 2)
            return f;
        if (party) {
            for (int32_t& c : f.commands)
                if (in.Scan("%d,", &c) != 1) return f;
            for (int32_t& set : f.sets) {
                if (in.Scan("%d,", &set) != 1) return f;
                for (int w = 1; w < 8; ++w)
                    if (in.Scan("%d,", &v) != 1) return f;
            }
        }
        f.ok = true;
        return f;
    }

    void CheckBattle() {
        const std::string* commands = out_.Find("Datas/WzDatas_0.qd");
        std::vector<int> flags;
        if (commands) {
            FormattedInput in(*commands);
            std::string name, help;
            int32_t number = 0, flag = 0;
            while (in.Scan("%s %s %d %d\n", &name, &help, &number, &flag) == 4)
                flags.push_back(flag);
        }
        bool fighters = false;
        for (const auto& [rel, bytes] : out_.Files()) {
            if (rel.compare(0, 5, "sChr/") != 0) continue;
            const bool party = rel.compare(0, 6, "sChr/c") == 0;
            const Fighter f = ReadFighter(bytes, party);
            if (!f.ok) continue;  // the loaders' own checks name a damaged status file
            fighters = true;
            const std::string& from = rel;
            out_.Require(from, 0, "Wea/w-" + std::to_string(f.weapon) + ".qd");
            const std::string plain = "SCR/wz/m" + std::to_string(f.defaultAction) + ".qd";
            if (!party) {
                out_.Require(from, 0, plain);  // an enemy's turn
                continue;
            }
            for (int32_t c : f.commands) {
                if (c < 0 || size_t(c) >= flags.size()) {
                    out_.Error(diag_, from, 0, 0,
                               "command " + std::to_string(c) + " is not in Datas/WzDatas_0.qd");
                    continue;
                }
                if (flags[size_t(c)] & 16) {
                    out_.Require(from, 0, "SCR/wz/s" + std::to_string(c) + ".qd");
                } else if (flags[size_t(c)] & 8) {
                    // The technique menu lists techniques 0-4; an empty line stands for 0.
                    out_.Require(from, 0, "SCR/wz/w0.qd");
                    for (int k = 0; k < 5 && c < 6; ++k)
                        if (f.sets[c] & (1 << k))
                            out_.Require(from, 0, "SCR/wz/w" + std::to_string(k) + ".qd");
                } else {
                    out_.Require(from, 0, plain);
                }
            }
        }
        if (!fighters) return;
        const Script* ev = FindScript("bEv/ev0");
        if (!ev) {
            out_.Error(diag_, "SCR/bEv/ev0.qd", 0, 0, "the battle event script is not there");
            return;
        }
        for (const char* label : {"INING", "START", "WIN", "G_O"})
            if (!ev->scan.labels.count(label))
                Error(*ev, std::string::npos,
                      std::string("has no label ") + label + ", which every battle starts");
    }

    DataFiles& out_;
    Diagnostics& diag_;
    std::vector<Script> scripts_;
    std::set<std::string> musicNames_;
    bool hasEnemies_ = false;
    // Each field and the script that runs on it, with the command that made the pair (none for
    // the pair the game starts with).
    std::map<std::pair<std::string, std::string>, ScriptAt> fieldScripts_;
};

}  // namespace

void CheckScripts(DataFiles& out, Diagnostics& diag) {
    Checker(out, diag).Run();
}
