#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Which keyboard keys and gamepad buttons stand for the game's keys. The game polls its nine keys
// by their virtual-key codes (VK_UP, VK_SHIFT, ...); the bindings decide which keys of the
// keyboard and which button of a gamepad hold each of them down (base/bound_keys.h), so the
// field, the lists, the menus and the battles read their key cells as they always have.

// The game's keys, in the order the settings file and the bindings screen list them.
enum class GameKey : int32_t {
    kUp,
    kDown,
    kLeft,
    kRight,
    kConfirm,
    kCancel,
    kMenu,
    kBack,
    kCamera
};
constexpr int32_t kGameKeyCount = 9;

// Buttons of a gamepad laid out as SDL's game controllers are (south = A on an Xbox pad), with
// the triggers as buttons. The platform reports them; kNone binds nothing.
enum class PadButton : int32_t {
    kNone = -1,
    kSouth,
    kEast,
    kWest,
    kNorth,
    kBack,
    kGuide,
    kStart,
    kLeftStick,
    kRightStick,
    kLeftShoulder,
    kRightShoulder,
    kDpadUp,
    kDpadDown,
    kDpadLeft,
    kDpadRight,
    kLeftTrigger,
    kRightTrigger,
};
constexpr int32_t kPadButtonCount = 17;

// A keyboard key is named by its virtual-key code (1-255): letters and digits by their capitals,
// VK_SHIFT and VK_CONTROL for either side, 0xA0-0xA5 for one side of Shift, Ctrl and Alt. 0 is
// no key.
constexpr int kKeySlots = 2;
struct KeyBinding {
    std::array<int, kKeySlots> keys{};
    PadButton pad = PadButton::kNone;
    bool operator==(const KeyBinding&) const = default;
};
struct KeyBindings {
    std::array<KeyBinding, kGameKeyCount> keys{};
    bool operator==(const KeyBindings&) const = default;
    KeyBinding& operator[](GameKey k) { return keys[size_t(k)]; }
    const KeyBinding& operator[](GameKey k) const { return keys[size_t(k)]; }
};

// The game's own keys first, then alternates the game reads nowhere else (it reads no letter
// but V): W A S D beside the arrows, Z and X for Shift and Ctrl, Space for Return; on a pad the
// d-pad, south confirms, east cancels, Start opens the menu, west is Backspace, the left shoulder
// the battle camera.
KeyBindings DefaultKeyBindings();

// The virtual-key code the game polls for one of its keys.
int GameKeyCode(GameKey key);
// "up", "down", "left", "right", "confirm", "cancel", "menu", "back", "camera".
const char* GameKeyName(GameKey key);

// A keyboard key's name as the settings file writes it ("Up", "LeftShift", "Z", "F5", ...);
// empty for a code without one (which cannot be bound).
std::string_view KeyboardKeyName(int code);
// The code of a name (any case), 0 when unknown.
int KeyboardKeyFromName(std::string_view name);
// "South", "DpadUp", "LeftShoulder", ...; empty for kNone.
std::string_view PadButtonName(PadButton button);
// kNone when unknown.
PadButton PadButtonFromName(std::string_view name);

// Makes `code` one of `key`'s keyboard keys in `slot`: a game key that had it gets what the slot
// held instead, so that no keyboard key stands for two game keys. Code 0 empties the slot.
void BindKeyboardKey(KeyBindings& b, GameKey key, int slot, int code);
// The same for the pad's button.
void BindPadButton(KeyBindings& b, GameKey key, PadButton button);
