#include "base/bound_keys.h"

BoundKeys g_BoundKeys;

namespace {

bool KeyDown(IKeySource* source, int code) {
    return source && code > 0 && (source->GetKeyState(code) & 0x80) != 0;
}

}  // namespace

int16_t BoundKeys::GetKeyState(int virtualKey) {
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const GameKey key = GameKey(k);
        if (GameKeyCode(key) != virtualKey) continue;
        const KeyBinding& b = bindings[key];
        bool down = KeyDown(keyboard, b.keys[0]) || KeyDown(keyboard, b.keys[1]);
        if (pad && padOn) {
            down = down || (b.pad != PadButton::kNone && pad->ButtonDown(int(b.pad)));
            if (k <= int32_t(GameKey::kRight)) down = down || pad->StickPushed(k);
        }
        return down ? int16_t(0x80) : int16_t(0);
    }
    return KeyDown(keyboard, virtualKey) ? int16_t(0x80) : int16_t(0);
}

void KeyCapture::Start(IKeySource* keyboard, IGamepad* pad) {
    for (int code = 0; code < 256; ++code) keys_[size_t(code)] = KeyDown(keyboard, code);
    for (int32_t b = 0; b < kPadButtonCount; ++b) buttons_[size_t(b)] = pad && pad->ButtonDown(b);
}

int KeyCapture::NextKey(IKeySource* keyboard) {
    int found = 0;
    for (int code = 1; code < 256; ++code) {
        const bool down = KeyDown(keyboard, code);
        const bool fresh = down && !keys_[size_t(code)];
        keys_[size_t(code)] = down;
        if (fresh && !found && !KeyboardKeyName(code).empty()) found = code;
    }
    return found;
}

PadButton KeyCapture::NextButton(IGamepad* pad) {
    PadButton found = PadButton::kNone;
    for (int32_t b = 0; b < kPadButtonCount; ++b) {
        const bool down = pad && pad->ButtonDown(b);
        const bool fresh = down && !buttons_[size_t(b)];
        buttons_[size_t(b)] = down;
        if (fresh && found == PadButton::kNone) found = PadButton(b);
    }
    return found;
}
