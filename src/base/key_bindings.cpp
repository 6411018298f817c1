#include "base/key_bindings.h"

#include <iterator>

#include "base/ascii.h"
#include "base/host.h"

namespace {

struct NamedKey {
    int code;
    const char* name;
};

// Every keyboard key a binding can name. Escape is not among them: it stays the quit key.
constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, "Backspace"}, {0x09, "Tab"},          {VK_RETURN, "Return"},
    {VK_SHIFT, "Shift"},    {VK_CONTROL, "Ctrl"},   {0x12, "Alt"},
    {0x20, "Space"},        {0x21, "PageUp"},       {0x22, "PageDown"},
    {0x23, "End"},          {0x24, "Home"},         {VK_LEFT, "Left"},
    {VK_UP, "Up"},          {VK_RIGHT, "Right"},    {VK_DOWN, "Down"},
    {0x2D, "Insert"},       {0x2E, "Delete"},       {0x6A, "KeypadMultiply"},
    {0x6B, "KeypadPlus"},   {0x6D, "KeypadMinus"},  {0x6E, "KeypadPeriod"},
    {0x6F, "KeypadDivide"}, {0xA0, "LeftShift"},    {0xA1, "RightShift"},
    {0xA2, "LeftCtrl"},     {0xA3, "RightCtrl"},    {0xA4, "LeftAlt"},
    {0xA5, "RightAlt"},     {0xBA, "Semicolon"},    {0xBB, "Equals"},
    {0xBC, "Comma"},        {0xBD, "Minus"},        {0xBE, "Period"},
    {0xBF, "Slash"},        {0xC0, "Backquote"},    {0xDB, "LeftBracket"},
    {0xDC, "Backslash"},    {0xDD, "RightBracket"}, {0xDE, "Quote"},
};

constexpr const char* kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                    "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                    "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr const char* kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr const char* kKeypadDigits[] = {"Keypad0", "Keypad1", "Keypad2", "Keypad3", "Keypad4",
                                         "Keypad5", "Keypad6", "Keypad7", "Keypad8", "Keypad9"};
constexpr const char* kFunctionKeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                         "F7", "F8", "F9", "F10", "F11", "F12"};

constexpr const char* kPadNames[kPadButtonCount] = {
    "South",    "East",      "West",       "North",        "Back",          "Guide",
    "Start",    "LeftStick", "RightStick", "LeftShoulder", "RightShoulder", "DpadUp",
    "DpadDown", "DpadLeft",  "DpadRight",  "LeftTrigger",  "RightTrigger"};

constexpr const char* kGameKeyNames[kGameKeyCount] = {"up",     "down", "left", "right", "confirm",
                                                      "cancel", "menu", "back", "camera"};
constexpr int kGameKeyCodes[kGameKeyCount] = {VK_UP,      VK_DOWN,   VK_LEFT, VK_RIGHT, VK_SHIFT,
                                              VK_CONTROL, VK_RETURN, VK_BACK, VK_V};

}  // namespace

KeyBindings DefaultKeyBindings() {
    KeyBindings b;
    auto set = [&b](GameKey k, int first, int second, PadButton pad) {
        b[k] = KeyBinding{{first, second}, pad};
    };
    set(GameKey::kUp, VK_UP, 'W', PadButton::kDpadUp);
    set(GameKey::kDown, VK_DOWN, 'S', PadButton::kDpadDown);
    set(GameKey::kLeft, VK_LEFT, 'A', PadButton::kDpadLeft);
    set(GameKey::kRight, VK_RIGHT, 'D', PadButton::kDpadRight);
    set(GameKey::kConfirm, VK_SHIFT, 'Z', PadButton::kSouth);
    set(GameKey::kCancel, VK_CONTROL, 'X', PadButton::kEast);
    set(GameKey::kMenu, VK_RETURN, 0x20, PadButton::kStart);
    set(GameKey::kBack, VK_BACK, 0, PadButton::kWest);
    set(GameKey::kCamera, VK_V, 0, PadButton::kLeftShoulder);
    return b;
}

int GameKeyCode(GameKey key) {
    return kGameKeyCodes[size_t(key)];
}

const char* GameKeyName(GameKey key) {
    return kGameKeyNames[size_t(key)];
}

std::string_view KeyboardKeyName(int code) {
    if (code >= 'A' && code <= 'Z') return kLetters[code - 'A'];
    if (code >= '0' && code <= '9') return kDigits[code - '0'];
    if (code >= 0x60 && code <= 0x69) return kKeypadDigits[code - 0x60];
    if (code >= 0x70 && code <= 0x7B) return kFunctionKeys[code - 0x70];
    for (const NamedKey& k : kNamedKeys)
        if (k.code == code) return k.name;
    return {};
}

int KeyboardKeyFromName(std::string_view name) {
    if (name.empty()) return 0;
    for (int code = 1; code < 256; ++code)
        if (AsciiSameName(KeyboardKeyName(code), name)) return code;
    return 0;
}

std::string_view PadButtonName(PadButton button) {
    const int32_t i = int32_t(button);
    return i >= 0 && i < kPadButtonCount ? kPadNames[i] : std::string_view();
}

PadButton PadButtonFromName(std::string_view name) {
    for (int32_t i = 0; i < kPadButtonCount; ++i)
        if (AsciiSameName(kPadNames[i], name)) return PadButton(i);
    return PadButton::kNone;
}

void BindKeyboardKey(KeyBindings& b, GameKey key, int slot, int code) {
    if (slot < 0 || slot >= kKeySlots) return;
    int& mine = b[key].keys[size_t(slot)];
    const int old = mine;
    if (code != 0)
        for (KeyBinding& other : b.keys)
            for (int& k : other.keys)
                if (k == code && &k != &mine) k = old;
    mine = code;
}

void BindPadButton(KeyBindings& b, GameKey key, PadButton button) {
    PadButton& mine = b[key].pad;
    if (button != PadButton::kNone)
        for (KeyBinding& other : b.keys)
            if (other.pad == button && &other.pad != &mine) other.pad = mine;
    mine = button;
}
