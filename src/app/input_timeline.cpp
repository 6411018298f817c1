#include "app/input_timeline.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "base/host.h"
#include "base/key_bindings.h"

namespace {

struct KeyNameEntry {
    const char* name;
    int vk;
};
constexpr KeyNameEntry kKeyNames[] = {
    {"up", VK_UP},       {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},
    {"shift", VK_SHIFT}, {"ctrl", VK_CONTROL},  {"return", VK_RETURN}, {"backspace", VK_BACK},
    {"v", VK_V},         {"escape", VK_ESCAPE},
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const char* KeyName(int vk) {
    for (const auto& k : kKeyNames)
        if (k.vk == vk) return k.name;
    const std::string_view keyboard = KeyboardKeyName(vk);  // names are whole literals
    return keyboard.empty() ? "" : keyboard.data();
}

int KeyFromName(const std::string& name) {
    std::string n = Lower(name);
    for (const auto& k : kKeyNames)
        if (n == k.name) return k.vk;
    // The other keyboard keys, for runs whose settings bind them (base/key_bindings.h).
    return KeyboardKeyFromName(name);
}

const std::vector<int>& TimelineKeys() {
    static const std::vector<int> keys = [] {
        std::vector<int> v;
        for (const auto& k : kKeyNames) v.push_back(k.vk);
        return v;
    }();
    return keys;
}

bool ParseInputTimeline(const std::string& text, InputTimeline& out, std::string& error) {
    out.events.clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string frameWord, keyWord, stateWord, extra;
        if (!(words >> frameWord)) continue;  // blank or comment
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        };
        if (!(words >> keyWord >> stateWord) || (words >> extra))
            return fail("expected \"<frame> <key> <down|up>\"");
        if (!std::all_of(frameWord.begin(), frameWord.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
            frameWord.size() > 18)
            return fail("frame \"" + frameWord + "\" is not a frame number");
        KeyEvent e;
        e.frame = std::stoull(frameWord);
        e.virtualKey = KeyFromName(keyWord);
        if (!e.virtualKey) return fail("unknown key \"" + keyWord + "\"");
        std::string state = Lower(stateWord);
        if (state != "down" && state != "up")
            return fail("expected down or up, not \"" + stateWord + "\"");
        e.down = state == "down";
        out.events.push_back(e);
    }
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.frame < b.frame; });
    return true;
}

std::string FormatKeyEvent(const KeyEvent& e) {
    return std::to_string(e.frame) + " " + KeyName(e.virtualKey) + " " + (e.down ? "down" : "up");
}
