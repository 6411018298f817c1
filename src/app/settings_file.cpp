// The settings file's INI text, read with inih and written here (kept to this file). TOML was
// tried first: both TOML readers Debian 12 ships abort, overrun or do something undefined on a
// few bytes of a hand-edited file (an accented letter in a comment was enough), while inih's
// lines are simple enough to check and write back.
#include <ini.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "app/settings.h"

namespace {

// A setting that is one value: its section, its key, what it may be, and where it lives in
// the settings (enumerations and flags as ints while read and written).
struct Choice {
    const char* name;
    int value;
};
struct Field {
    const char* section;
    const char* key;
    enum Kind { kChoice, kBool, kNumber } kind;
    std::vector<Choice> choices;  // kChoice
    int32_t low = 0, high = 0;    // kNumber; 0 is taken too when low is above it (no size)
    int (*get)(const Settings&) = nullptr;
    void (*set)(Settings&, int) = nullptr;
};

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {"window",
         "mode",
         Field::kChoice,
         {{"window", int(WindowMode::kWindow)}, {"fullscreen", int(WindowMode::kFullscreen)}},
         0,
         0,
         [](const Settings& s) { return int(s.windowMode); },
         [](Settings& s, int v) { s.windowMode = WindowMode(v); }},
        {"window",
         "scale",
         Field::kChoice,
         {{"fit", int(WindowScale::kFit)}, {"integer", int(WindowScale::kInteger)}},
         0,
         0,
         [](const Settings& s) { return int(s.windowScale); },
         [](Settings& s, int v) { s.windowScale = WindowScale(v); }},
        {"window",
         "vsync",
         Field::kBool,
         {},
         0,
         1,
         [](const Settings& s) { return int(s.vsync); },
         [](Settings& s, int v) { s.vsync = v != 0; }},
        {"window",
         "width",
         Field::kNumber,
         {},
         kMinWindowWidth,
         kMaxWindowSide,
         [](const Settings& s) { return int(s.windowWidth); },
         [](Settings& s, int v) { s.windowWidth = v; }},
        {"window",
         "height",
         Field::kNumber,
         {},
         kMinWindowHeight,
         kMaxWindowSide,
         [](const Settings& s) { return int(s.windowHeight); },
         [](Settings& s, int v) { s.windowHeight = v; }},
        {"sound",
         "music",
         Field::kNumber,
         {},
         0,
         100,
         [](const Settings& s) { return int(s.musicVolume); },
         [](Settings& s, int v) { s.musicVolume = v; }},
        {"sound",
         "effects",
         Field::kNumber,
         {},
         0,
         100,
         [](const Settings& s) { return int(s.effectVolume); },
         [](Settings& s, int v) { s.effectVolume = v; }},
        {"gamepad",
         "enabled",
         Field::kBool,
         {},
         0,
         1,
         [](const Settings& s) { return int(s.gamepad); },
         [](Settings& s, int v) { s.gamepad = v != 0; }},
        {"game",
         "rok_edges",
         Field::kChoice,
         {{"ask", int(RokEdgeAnswer::kAsk)},
          {"yes", int(RokEdgeAnswer::kYes)},
          {"no", int(RokEdgeAnswer::kNo)}},
         0,
         0,
         [](const Settings& s) { return int(s.rokEdges); },
         [](Settings& s, int v) { s.rokEdges = RokEdgeAnswer(v); }},
        {"game",
         "ask_before_quitting",
         Field::kBool,
         {},
         0,
         1,
         [](const Settings& s) { return int(s.askBeforeQuitting); },
         [](Settings& s, int v) { s.askBeforeQuitting = v != 0; }},
    };
    return fields;
}

// What a file holds, in its order: sections with their keys and values as written (a key that
// comes twice is kept twice), and the first line that is none of a section, a setting, a comment
// or a blank.
// The longest line inih reads (its buffer holds the newline and a NUL besides).
constexpr size_t kMaxLine = INI_MAX_LINE - 2;

struct Entry {
    std::string key, value;
};
struct Section {
    std::string name;
    std::vector<Entry> entries;
};
struct IniFile {
    std::vector<Section> sections;  // the first, unnamed, holds what comes before any header
    std::string error;
    Section* Find(std::string_view name) {
        for (Section& s : sections)
            if (s.name == name) return &s;
        return nullptr;
    }
    const Entry* Get(std::string_view section, std::string_view key) const {
        const Entry* found = nullptr;  // the last one given counts
        for (const Section& s : sections)
            if (s.name == section)
                for (const Entry& e : s.entries)
                    if (e.key == key) found = &e;
        return found;
    }
};

// Hands inih the text a line at a time, so that a line too long for its buffer or one with a NUL
// byte is refused here instead of being read as two lines or cut.
struct LineFeed {
    std::string_view text;
    size_t at = 0;
    int line = 0;
    IniFile* file = nullptr;
};

char* FeedLine(char* buffer, int size, void* stream) {
    LineFeed& feed = *static_cast<LineFeed*>(stream);
    if (feed.at >= feed.text.size() || size < 2) return nullptr;
    const size_t end = std::min(feed.text.find('\n', feed.at), feed.text.size());
    const std::string_view line = feed.text.substr(feed.at, end - feed.at);
    feed.at = end + 1;
    ++feed.line;
    std::string why;
    if (line.size() + 2 > size_t(size))
        why = "longer than " + std::to_string(size - 2) + " bytes";
    else if (line.find('\0') != std::string_view::npos)
        why = "a NUL byte";
    if (!why.empty()) {
        if (feed.file->error.empty())
            feed.file->error = "line " + std::to_string(feed.line) + ": " + why;
        buffer[0] = '\n';  // read as a blank line
        buffer[1] = '\0';
        return buffer;
    }
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\n';
    buffer[line.size() + 1] = '\0';
    return buffer;
}

int TakeEntry(void* user, const char* section, const char* key, const char* value) {
    IniFile& file = *static_cast<IniFile*>(user);
    Section* s = file.Find(section);
    if (!s) s = &file.sections.emplace_back(Section{section, {}});
    s->entries.push_back({key, value});
    return 1;
}

IniFile ReadIni(std::string_view text) {
    IniFile file;
    file.sections.push_back({});
    LineFeed feed{text, 0, 0, &file};
    const int bad = ini_parse_stream(FeedLine, &feed, TakeEntry, &file);
    if (bad > 0 && file.error.empty())
        file.error =
            "line " + std::to_string(bad) + ": not a [section], a key = value line or a comment";
    return file;
}

// A value without the quotes a player may put round it.
std::string_view Unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string_view SpacesTrimmed(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

std::string Shown(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

std::string Path(const char* section, const std::string& key) {
    return std::string(section) + "." + key;
}

std::string ChoiceNames(const Field& f) {
    std::string names;
    for (size_t i = 0; i < f.choices.size(); ++i)
        names += (i == 0                      ? ""
                  : i + 1 == f.choices.size() ? " or "
                                              : ", ") +
                 std::string(f.choices[i].name);
    return names;
}

std::string ChoiceName(const Field& f, int value) {
    for (const Choice& c : f.choices)
        if (c.value == value) return c.name;
    return f.choices.front().name;
}

// One scalar setting from the file; the problem, or empty.
std::string ReadField(const Field& f, std::string_view written, Settings& s) {
    const std::string where = Path(f.section, f.key);
    const std::string_view v = Unquoted(written);
    const int before = f.get(s);
    switch (f.kind) {
        case Field::kChoice:
            for (const Choice& c : f.choices)
                if (v == c.name) {
                    f.set(s, c.value);
                    return {};
                }
            return where + ": " + Shown(v) + " is not " + ChoiceNames(f) + " (keeping \"" +
                   ChoiceName(f, before) + "\")";
        case Field::kBool:
            if (v == "true" || v == "false") {
                f.set(s, v == "true" ? 1 : 0);
                return {};
            }
            return where + ": " + Shown(v) + " is not true or false (keeping " +
                   (before ? "true" : "false") + ")";
        case Field::kNumber: {
            int64_t n = -1;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec == std::errc() && end == v.data() + v.size() &&
                ((n >= f.low && n <= f.high) || n == 0)) {
                f.set(s, int(n));
                return {};
            }
            return where + ": " + Shown(v) + " is not " + (f.low > 0 ? "0 or " : "") +
                   "a whole number from " + std::to_string(f.low) + " to " +
                   std::to_string(f.high) + " (keeping " + std::to_string(before) + ")";
        }
    }
    return {};
}

// keys.<game key>: up to two keyboard keys by name, between commas. False when it cannot be
// used.
bool ReadKeys(std::string_view written, const std::string& where, std::array<int, kKeySlots>& codes,
              std::vector<std::string>& problems) {
    const std::string_view list = SpacesTrimmed(written);
    codes = {};
    if (list.empty()) return true;
    size_t count = 0;
    for (size_t at = 0; at <= list.size();) {
        const size_t comma = std::min(list.find(',', at), list.size());
        const std::string_view name = Unquoted(SpacesTrimmed(list.substr(at, comma - at)));
        at = comma + 1;
        if (count == size_t(kKeySlots)) {
            problems.push_back(where + ": " + Shown(list) +
                               " is not a list of at most two key names (keeping the keys "
                               "before)");
            return false;
        }
        const int code = KeyboardKeyFromName(std::string(name));
        if (!code) {
            problems.push_back(where + ": " + Shown(name) +
                               " is no key the game knows (keeping the keys before)");
            return false;
        }
        codes[count++] = code;
    }
    return true;
}

// The game key among the first `count` the file gave that holds `code`, or -1.
int32_t GivenHolder(const KeyBindings& b, const std::array<bool, kGameKeyCount>& given,
                    int32_t count, int code) {
    for (int32_t other = 0; other < count; ++other)
        for (int theirs : b.keys[size_t(other)].keys)
            if (code && theirs == code && given[size_t(other)]) return other;
    return -1;
}

// The [keys] and [gamepad] bindings the file gives. A key the file gives to one game key is
// taken from any other that had it before; a key the file gives two game keys stays the first's
// (the second keeps its keys before).
void ReadBindings(const IniFile& file, KeyBindings& b, std::vector<std::string>& problems) {
    std::array<bool, kGameKeyCount> given{};
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const char* name = GameKeyName(GameKey(k));
        const Entry* entry = file.Get("keys", name);
        std::array<int, kKeySlots> codes{};
        if (!entry || !ReadKeys(entry->value, Path("keys", name), codes, problems)) continue;
        bool clash = false;
        for (int code : codes)
            if (const int32_t holder = GivenHolder(b, given, k, code); holder >= 0 && !clash) {
                problems.push_back(
                    Path("keys", name) + ": \"" + std::string(KeyboardKeyName(code)) + "\" is " +
                    GameKeyName(GameKey(holder)) + "'s already (keeping the keys before)");
                clash = true;
            }
        if (clash) continue;
        for (int slot = 0; slot < kKeySlots; ++slot) b[GameKey(k)].keys[size_t(slot)] = 0;
        for (int slot = 0; slot < kKeySlots; ++slot)
            if (codes[size_t(slot)]) BindKeyboardKey(b, GameKey(k), slot, codes[size_t(slot)]);
        given[size_t(k)] = true;
    }
    // A key taken from another game key leaves a gap there; the keys left close up, as the file
    // would write and read them back.
    for (KeyBinding& binding : b.keys)
        std::stable_partition(binding.keys.begin(), binding.keys.end(),
                              [](int code) { return code != 0; });
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const char* name = GameKeyName(GameKey(k));
        const Entry* entry = file.Get("gamepad", name);
        if (!entry) continue;
        const std::string text(Unquoted(entry->value));
        const PadButton button = PadButtonFromName(text);
        if (button == PadButton::kNone && !text.empty()) {
            problems.push_back(Path("gamepad", name) + ": " + Shown(text) +
                               " is no gamepad button (keeping \"" +
                               std::string(PadButtonName(b[GameKey(k)].pad)) + "\")");
            continue;
        }
        BindPadButton(b, GameKey(k), button);
    }
}

// Sets `key` in `section` to `value`: the last such line when the file has it, a new line after
// the section's others when not.
void Put(IniFile& file, const char* section, const std::string& key, std::string value) {
    Section* s = file.Find(section);
    if (!s) s = &file.sections.emplace_back(Section{section, {}});
    for (auto e = s->entries.rbegin(); e != s->entries.rend(); ++e)
        if (e->key == key) {
            e->value = std::move(value);
            return;
        }
    s->entries.push_back({key, std::move(value)});
}

}  // namespace

bool ParseSettings(std::string_view text, Settings& s, std::vector<std::string>& problems) {
    const IniFile file = ReadIni(text);
    if (!file.error.empty()) {
        problems.push_back(file.error + " (nothing in the file is used)");
        return false;
    }
    for (const Field& f : Fields())
        if (const Entry* entry = file.Get(f.section, f.key))
            if (std::string why = ReadField(f, entry->value, s); !why.empty())
                problems.push_back(why);
    ReadBindings(file, s.keys, problems);
    return true;
}

std::string FormatSettings(const Settings& settings, std::string_view previous) {
    IniFile file = ReadIni(previous);
    if (!file.error.empty()) {
        file = IniFile{};
        file.sections.push_back({});
    }
    for (const Field& f : Fields()) {
        const int value = f.get(settings);
        switch (f.kind) {
            case Field::kChoice:
                Put(file, f.section, f.key, ChoiceName(f, value));
                break;
            case Field::kBool:
                Put(file, f.section, f.key, value ? "true" : "false");
                break;
            case Field::kNumber:
                Put(file, f.section, f.key, std::to_string(value));
                break;
        }
    }
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const KeyBinding& b = settings.keys[GameKey(k)];
        std::string names;
        for (int code : b.keys) {
            if (!code) continue;
            if (!names.empty()) names += ", ";
            names += KeyboardKeyName(code);
        }
        Put(file, "keys", GameKeyName(GameKey(k)), names);
        Put(file, "gamepad", GameKeyName(GameKey(k)), std::string(PadButtonName(b.pad)));
    }
    std::string out = "# GH02 settings: the game writes this file when they change in the game.\n";
    for (const Section& s : file.sections) {
        if (s.name.empty() && s.entries.empty()) continue;
        if (!s.name.empty()) out += "\n[" + s.name + "]\n";
        for (const Entry& e : s.entries) {
            // A line must not start with a blank (it would continue the line before) nor grow
            // past what the reader takes (the spaces go where the line read had none).
            std::string line = e.key + " = " + e.value;
            if (e.key.empty() || line.size() > kMaxLine) line = e.key + "=" + e.value;
            out += line + "\n";
        }
    }
    return out;
}

const char* WindowModeName(WindowMode mode) {
    return mode == WindowMode::kWindow ? "window" : "fullscreen";
}

const char* WindowScaleName(WindowScale scale) {
    return scale == WindowScale::kFit ? "fit" : "integer";
}

const char* RokEdgeAnswerName(RokEdgeAnswer answer) {
    switch (answer) {
        case RokEdgeAnswer::kYes:
            return "yes";
        case RokEdgeAnswer::kNo:
            return "no";
        default:
            return "ask";
    }
}
