// Label searches over any text from any starting place: they must stay inside the text, agree
// with a plain place-by-place search, and leave a failed script on its end.
#include <string>

#include "fuzz_common.h"
#include "script/qscr_org.h"

namespace {

using fuzz::Check;
constexpr int32_t kSize = QScrOrg::kTextSize;

bool At(const char* t, int32_t i, char a, char b) {
    return i >= 0 && i + 1 < kSize && t[i] == a && t[i + 1] == b;
}

// The end of a label's name that starts at `at`, found the slow way; -1 when there is none.
int32_t NameEnd(const char* t, int32_t at) {
    for (int32_t i = at + 2; i + 1 < kSize; ++i)
        if (At(t, i, '/', '/')) return i;
    return -1;
}

bool Matches(const char* t, int32_t at, int32_t end, const std::string& label) {
    return std::string(t + at + 2, t + end) == label;
}

// The searches as plain loops: the result pc, or -1 when the label is missing.
int32_t SlowForward(const char* t, int32_t pc, const std::string& label) {
    for (int32_t at = pc < 0 ? 0 : pc; at < kSize;) {
        if (!At(t, at, '@', ':')) {
            ++at;
            continue;
        }
        int32_t end = NameEnd(t, at);
        if (end < 0) return -1;
        if (Matches(t, at, end, label)) return end + 2;
        at = end;
    }
    return -1;
}

int32_t SlowBackward(const char* t, int32_t pc, const std::string& label) {
    for (int32_t at = pc >= kSize ? kSize - 1 : pc; at >= 0; --at) {
        if (!At(t, at, '@', ':')) continue;
        int32_t end = NameEnd(t, at);
        if (end >= 0 && Matches(t, at, end, label)) return end + 2;
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), true);
    (void)init;
    const fuzz::FreshRun fresh;
    if (size < 3) return 0;
    // Two bytes of starting place (a little outside the text too), a label up to '\n', the text.
    int32_t start = int32_t((data[0] << 8) | data[1]) % (kSize + 64) - 32;
    const char* rest = reinterpret_cast<const char*>(data + 2);
    size_t restSize = size - 2;
    const void* nl = std::memchr(rest, '\n', restSize < 200 ? restSize : 200);
    size_t labelSize = nl ? size_t(static_cast<const char*>(nl) - rest) : 0;
    std::string label(rest, labelSize);
    label = label.c_str();  // the search takes a C string
    const char* body = rest + labelSize + (nl ? 1 : 0);
    size_t bodySize = restSize - labelSize - (nl ? 1 : 0);

    static QScrOrg s;
    std::memset(s.text, 0, sizeof s.text);
    std::memcpy(s.text, body, bodySize < sizeof s.text ? bodySize : sizeof s.text);

    for (bool forward : {true, false}) {
        s.pc = start;
        int32_t expected =
            forward ? SlowForward(s.text, start, label) : SlowBackward(s.text, start, label);
        bool found = forward ? s.jpAf(label.c_str()) : s.jpAb(label.c_str());
        Check(s.pc >= 0 && s.pc <= kSize, "pc outside the text");
        if (expected >= 0) {
            Check(found && s.pc == expected, "search disagrees with the plain one");
        } else {
            Check(!found && s.pc == s.EndOfText(), "missing label leaves the script elsewhere");
            Check(s.pc < kSize, "end past the text");
        }
    }
    return 0;
}
