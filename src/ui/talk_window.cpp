#include "ui/talk_window.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/sjis_text.h"
#include "gfx/sprite.h"
#include "gfx/text.h"

TalkWindow g_TalkWindows[kTalkWindowCount];

namespace {

constexpr int32_t kTalkByteWidth = 10;

// Bytes of the piece of text at pos: an escape or a double-byte character is two, never running
// past the end.
size_t UnitLength(const char* text, size_t len, size_t pos) {
    if (text[pos] == '\\') return pos + 1 < len ? 2 : 1;
    return SjisCharLength(reinterpret_cast<const uint8_t*>(text) + pos, len - pos);
}

bool IsNewLine(const char* text, size_t len, size_t pos) {
    return text[pos] == '\\' && pos + 1 < len && text[pos + 1] == 'n';
}

// Moves the window back inside the 640 x 480 screen, right and bottom edges first.
void KeepOnScreen(TalkWindow& t) {
    if (int64_t(t.x) + t.w >= 641)
        t.x = 640 - t.w;
    else if (t.x < 0)
        t.x = 0;
    if (int64_t(t.y) + t.h >= 481)
        t.y = 480 - t.h;
    else if (t.y < 0)
        t.y = 0;
}

// After the draw: the whole text shows -> count the stay down; otherwise two more bytes.
void Type(TalkWindow& t, size_t len) {
    const int64_t typed = int64_t(t.shown) * 2;
    if (typed >= int64_t(len)) {
        if (t.open != kTalkStaysOpen && t.open != INT32_MIN) --t.open;
        return;
    }
    // Up to the end of a text of odd length too, so that every text finishes typing.
    t.shown = int32_t(std::min<int64_t>(int64_t(t.shown) + 2, (int64_t(len) + 1) / 2));
}

}  // namespace

void ResetTalkWindows() {
    for (TalkWindow& t : g_TalkWindows) t = TalkWindow{};
}

void CloseTalkWindows() {
    for (TalkWindow& t : g_TalkWindows) t.open = 0;
}

int32_t TalkTextLength(const TalkWindow& window) {
    return int32_t(strnlen(window.text, sizeof window.text));
}

void SetTalkText(TalkWindow& window, std::string_view text, int32_t open) {
    text = text.substr(0, text.find('\0'));
    // Cut between pieces, so that neither a character nor an escape is split.
    size_t n = 0;
    while (n < text.size()) {
        size_t u = UnitLength(text.data(), text.size(), n);
        if (n + u > sizeof window.text - 1) break;
        n += u;
    }
    std::memset(window.text, 0, sizeof window.text);
    std::memcpy(window.text, text.data(), n);
    window.open = open;
    window.shown = 1;
}

void LayoutTalkWindow(TalkWindow& window) {
    const size_t len = size_t(TalkTextLength(window));
    int32_t w = 1, h = kTalkLineHeight, widest = 0;
    for (size_t pos = 0; pos < len;) {
        if (IsNewLine(window.text, len, pos)) {
            widest = std::max(widest, w);
            h += kTalkLineHeight;
            w = 0;
            pos += 2;
            continue;
        }
        size_t u = UnitLength(window.text, len, pos);
        w += kTalkByteWidth * int32_t(u);
        pos += u;
    }
    window.w = std::max(widest, w);
    window.h = h;
    KeepOnScreen(window);
}

void PlaceTalkWindow(TalkWindow& window, int32_t screenX, int32_t screenY) {
    window.x = screenX;
    window.y = screenY;
    KeepOnScreen(window);
}

void DrawTalkWindow(TalkWindow& window) {
    if (window.open == 0) return;
    DrawWindowBox(float(window.x), float(window.y), float(window.w), float(window.h));

    const char* text = window.text;
    const size_t len = size_t(TalkTextLength(window));
    const int64_t typed = std::max<int64_t>(int64_t(window.shown) * 2, 0);
    char line[kTalkTextSize + 1];
    size_t n = 0;
    int64_t lineY = window.y;
    auto flush = [&] {
        line[n] = '\0';
        DrawShadowText(line, window.x, int(std::clamp<int64_t>(lineY, INT_MIN, INT_MAX)), 255, 255,
                       255);
        n = 0;
    };
    size_t pos = 0;
    bool stopped = false;
    // A piece that starts inside the typed part is drawn whole.
    while (pos < len && int64_t(pos) < typed) {
        const size_t u = UnitLength(text, len, pos);
        if (text[pos] == '\\') {
            flush();
            const char code = u == 2 ? text[pos + 1] : '\0';
            if (code == 'E') {
                window.open = 0;
                return;
            }
            if (code == 'e') {
                stopped = true;
                break;
            }
            if (code == 'n') lineY += kTalkLineHeight;
        } else {
            std::memcpy(line + n, text + pos, u);
            n += u;
        }
        pos += u;
    }
    if (!stopped) flush();
    Type(window, len);
}

void DrawTalkWindows() {
    for (TalkWindow& t : g_TalkWindows) DrawTalkWindow(t);
}

int32_t MessageFullyShown() {
    for (const TalkWindow& t : g_TalkWindows)
        if (t.open != 0 && int64_t(t.shown) * 2 >= TalkTextLength(t)) return 1;
    return 0;
}
