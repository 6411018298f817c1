#include "app/input_timeline.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "base/ascii.h"
#include "base/host.h"
#include "base/key_bindings.h"
#include "base/parse_int.h"

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

constexpr const char* kLineShapes =
    "expected \"<frame> <key> <down|up>\", \"<frame> close\", \"<frame> frame-ms <ms>...\", "
    "\"<frame> answer <yes|no>\", \"seed <n>\", \"clock <ms>\", \"frames <n>\" or "
    "\"ask-before-quit\"";

// A whole number from lo to hi.
bool Number(const std::string& word, int64_t lo, int64_t hi, int64_t& out) {
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0])) &&
           ParseWholeInt(word, out) && out >= lo && out <= hi;
}

// The words of one line after its first; the reader says what was wrong, if anything.
class LineReader {
public:
    LineReader(std::istringstream& words, InputTimeline& out) : words_(words), out_(out) {}

    std::string Frame(uint64_t frame, const std::string& second) {
        std::string third;
        const bool hasThird = static_cast<bool>(words_ >> third);
        if (second == "close") {
            if (hasThird) return kLineShapes;
            out_.events.push_back({frame, kCloseButton, true});
            return "";
        }
        if (!hasThird) return kLineShapes;
        if (second == "frame-ms") {
            // One length a frame from this one on; the frames after the last take the last.
            for (std::string word = third;; ++frame) {
                int64_t ms = 0;
                if (!Number(word, 0, UINT32_MAX, ms))
                    return "frame-ms \"" + word + "\" is not a number of milliseconds";
                out_.frameMs[frame] = uint32_t(ms);
                if (!(words_ >> word)) return "";
            }
        }
        if (second == "answer") {
            const std::string answer = AsciiLower(third);
            if (answer != "yes" && answer != "no")
                return "expected an answer yes or no, not \"" + third + "\"";
            out_.answers.push_back(answer == "yes" ? IDYES : IDNO);
            return End();
        }
        KeyEvent e;
        e.frame = frame;
        e.virtualKey = KeyFromName(second);
        if (!e.virtualKey) return "unknown key \"" + second + "\"";
        const std::string state = AsciiLower(third);
        if (state != "down" && state != "up") return "expected down or up, not \"" + third + "\"";
        e.down = state == "down";
        out_.events.push_back(e);
        return End();
    }

    std::string Setting(const std::string& name) {
        if (name == "ask-before-quit") {
            out_.askBeforeQuitting = true;
            return End();
        }
        std::string word;
        int64_t n = 0;
        const int64_t top = name == "frames" ? int64_t(1) << 40 : int64_t(UINT32_MAX);
        if (!(words_ >> word) || !Number(word, name == "frames" ? 1 : 0, top, n))
            return name + " wants a number up to " + std::to_string(top) + ", not \"" + word + "\"";
        if (name == "seed")
            out_.seed = uint32_t(n);
        else if (name == "clock")
            out_.clockStart = uint32_t(n);
        else
            out_.frames = uint64_t(n);
        return End();
    }

private:
    std::string End() {
        std::string extra;
        return (words_ >> extra) ? kLineShapes : "";
    }
    std::istringstream& words_;
    InputTimeline& out_;
};

}  // namespace

const char* KeyName(int vk) {
    if (vk == kCloseButton) return "close";
    for (const auto& k : kKeyNames)
        if (k.vk == vk) return k.name;
    const std::string_view keyboard = KeyboardKeyName(vk);  // names are whole literals
    return keyboard.empty() ? "" : keyboard.data();
}

int KeyFromName(const std::string& name) {
    std::string n = AsciiLower(name);
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
    out = InputTimeline();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string first, second;
        if (!(words >> first)) continue;  // blank or comment
        LineReader reader(words, out);
        std::string why;
        first = AsciiLower(first);
        if (first == "seed" || first == "clock" || first == "frames" ||
            first == "ask-before-quit") {
            why = reader.Setting(first);
        } else if (!std::isdigit(static_cast<unsigned char>(first[0]))) {
            why = kLineShapes;
        } else {
            int64_t frame = 0;
            if (!Number(first, 0, int64_t(1) << 40, frame))
                why = "frame \"" + first + "\" is not a frame number";
            else if (!(words >> second))
                why = kLineShapes;
            else
                why = reader.Frame(uint64_t(frame), AsciiLower(second));
        }
        if (!why.empty()) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        }
    }
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.frame < b.frame; });
    return true;
}

std::string FormatAnswer(uint64_t frame, int answer) {
    return std::to_string(frame) + " answer " + (answer == IDYES ? "yes" : "no");
}

std::string FormatKeyEvent(const KeyEvent& e) {
    if (e.virtualKey == kCloseButton) return std::to_string(e.frame) + " close";
    return std::to_string(e.frame) + " " + KeyName(e.virtualKey) + " " + (e.down ? "down" : "up");
}
