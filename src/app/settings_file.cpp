// The settings file's TOML, read and written with toml++ (kept to this file).
#include <array>
#include <sstream>

#include "app/settings.h"

// toml++ 3.3 asserts, inside its parser, things a malformed file can break ("[ = 1" reaches the
// key parser with '='), and in an optimised build has the compiler assume them, so a bad settings
// file would abort or do something undefined. Each of those checks is followed by the parser's own
// error path, so they are turned off here and such files end as parse errors like any other.
#pragma push_macro("NDEBUG")
#undef NDEBUG
#define TOML_ASSERT(expr) static_assert(true)
#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>
#pragma pop_macro("NDEBUG")

namespace {

// A setting that is one TOML value: its section, its key, what it may be, and where it lives in
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

// A value as the file wrote it, for messages.
std::string Shown(const toml::node& node) {
    if (const auto* s = node.as_string()) return "\"" + s->get() + "\"";
    std::ostringstream out;
    node.visit([&out](const auto& n) { out << n; });
    return out.str();
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
std::string ReadField(const Field& f, const toml::node& node, Settings& s) {
    const std::string where = Path(f.section, f.key);
    const int before = f.get(s);
    switch (f.kind) {
        case Field::kChoice:
            if (const auto* text = node.as_string())
                for (const Choice& c : f.choices)
                    if (text->get() == c.name) {
                        f.set(s, c.value);
                        return {};
                    }
            return where + ": " + Shown(node) + " is not " + ChoiceNames(f) + " (keeping \"" +
                   ChoiceName(f, before) + "\")";
        case Field::kBool:
            if (const auto* b = node.as_boolean()) {
                f.set(s, b->get() ? 1 : 0);
                return {};
            }
            return where + ": " + Shown(node) + " is not true or false (keeping " +
                   (before ? "true" : "false") + ")";
        case Field::kNumber:
            if (const auto* n = node.as_integer();
                n && ((n->get() >= f.low && n->get() <= f.high) || n->get() == 0)) {
                f.set(s, int(n->get()));
                return {};
            }
            return where + ": " + Shown(node) + " is not " + (f.low > 0 ? "0 or " : "") +
                   "a whole number from " + std::to_string(f.low) + " to " +
                   std::to_string(f.high) + " (keeping " + std::to_string(before) + ")";
    }
    return {};
}

// keys.<game key>: up to two keyboard keys by name. Empty codes when it cannot be used.
bool ReadKeys(const toml::node& node, const std::string& where, std::array<int, kKeySlots>& codes,
              std::vector<std::string>& problems) {
    const toml::array* list = node.as_array();
    if (!list || list->size() > size_t(kKeySlots)) {
        problems.push_back(where + ": " + Shown(node) +
                           " is not a list of at most two key names (keeping the keys before)");
        return false;
    }
    codes = {};
    for (size_t i = 0; i < list->size(); ++i) {
        const auto* name = (*list)[i].as_string();
        const int code = name ? KeyboardKeyFromName(name->get()) : 0;
        if (!code) {
            problems.push_back(where + ": " + Shown((*list)[i]) +
                               " is no key the game knows (keeping the keys before)");
            return false;
        }
        codes[i] = code;
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
void ReadBindings(const toml::table& file, KeyBindings& b, std::vector<std::string>& problems) {
    std::array<bool, kGameKeyCount> given{};
    const toml::table* keys = file["keys"].as_table();
    for (int32_t k = 0; keys && k < kGameKeyCount; ++k) {
        const char* name = GameKeyName(GameKey(k));
        const toml::node* node = keys->get(name);
        std::array<int, kKeySlots> codes{};
        if (!node || !ReadKeys(*node, Path("keys", name), codes, problems)) continue;
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
    const toml::table* pad = file["gamepad"].as_table();
    for (int32_t k = 0; pad && k < kGameKeyCount; ++k) {
        const char* name = GameKeyName(GameKey(k));
        const toml::node* node = pad->get(name);
        if (!node) continue;
        const auto* text = node->as_string();
        const PadButton button = text ? PadButtonFromName(text->get()) : PadButton::kNone;
        if (!text || (button == PadButton::kNone && !text->get().empty())) {
            problems.push_back(Path("gamepad", name) + ": " + Shown(*node) +
                               " is no gamepad button (keeping \"" +
                               std::string(PadButtonName(b[GameKey(k)].pad)) + "\")");
            continue;
        }
        BindPadButton(b, GameKey(k), button);
    }
}

toml::table& SectionOf(toml::table& file, const char* section) {
    toml::node* node = file.get(section);
    if (!node || !node->is_table()) {
        file.insert_or_assign(section, toml::table{});
        node = file.get(section);
    }
    return *node->as_table();
}

}  // namespace

bool ParseSettings(std::string_view text, Settings& s, std::vector<std::string>& problems) {
    toml::parse_result parsed = toml::parse(text);
    if (!parsed) {
        const toml::parse_error& e = parsed.error();
        problems.push_back("line " + std::to_string(e.source().begin.line) + ", column " +
                           std::to_string(e.source().begin.column) + ": " +
                           std::string(e.description()) + " (nothing in the file is used)");
        return false;
    }
    const toml::table& file = parsed.table();
    for (const char* section : {"window", "sound", "keys", "gamepad", "game"})
        if (const toml::node* node = file.get(section); node && !node->is_table())
            problems.push_back(std::string(section) + ": " + Shown(*node) +
                               " is not a section (nothing in it is used)");
    for (const Field& f : Fields()) {
        const toml::table* section = file[f.section].as_table();
        const toml::node* node = section ? section->get(f.key) : nullptr;
        if (!node) continue;
        if (std::string why = ReadField(f, *node, s); !why.empty()) problems.push_back(why);
    }
    ReadBindings(file, s.keys, problems);
    return true;
}

std::string FormatSettings(const Settings& settings, std::string_view previous) {
    toml::table file;
    if (toml::parse_result parsed = toml::parse(previous)) file = std::move(parsed).table();
    for (const Field& f : Fields()) {
        toml::table& section = SectionOf(file, f.section);
        const int value = f.get(settings);
        switch (f.kind) {
            case Field::kChoice:
                section.insert_or_assign(f.key, ChoiceName(f, value));
                break;
            case Field::kBool:
                section.insert_or_assign(f.key, value != 0);
                break;
            case Field::kNumber:
                section.insert_or_assign(f.key, int64_t(value));
                break;
        }
    }
    toml::table& keys = SectionOf(file, "keys");
    toml::table& pad = SectionOf(file, "gamepad");
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const KeyBinding& b = settings.keys[GameKey(k)];
        toml::array names;
        for (int code : b.keys)
            if (code) names.push_back(std::string(KeyboardKeyName(code)));
        keys.insert_or_assign(GameKeyName(GameKey(k)), std::move(names));
        pad.insert_or_assign(GameKeyName(GameKey(k)), std::string(PadButtonName(b.pad)));
    }
    std::ostringstream out;
    out << "# GH02 settings: the game writes this file when they change in the game.\n"
        << toml::toml_formatter(file) << "\n";
    return out.str();
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
