// The key bindings: names both ways, defaults that never give one key two meanings, binding that
// swaps, and the key states the game polls made from the keyboard's and a pad's.
#include <gtest/gtest.h>

#include <set>

#include "base/bound_keys.h"
#include "base/key_bindings.h"
#include "base/null_host.h"

namespace {

struct FakePad : IGamepad {
    std::set<int> buttons;
    int stick = -1;
    bool ButtonDown(int b) override { return buttons.count(b) > 0; }
    bool StickPushed(int d) override { return d == stick; }
};

TEST(KeyBindings, NamesGoBothWaysAndEscapeHasNone) {
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        const std::string_view name = KeyboardKeyName(code);
        if (name.empty()) continue;
        ++named;
        EXPECT_EQ(KeyboardKeyFromName(name), code) << name;
    }
    EXPECT_GT(named, 90);
    EXPECT_EQ(KeyboardKeyFromName("leftshift"), 0xA0);
    EXPECT_EQ(KeyboardKeyFromName("Escape"), 0);
    EXPECT_TRUE(KeyboardKeyName(VK_ESCAPE).empty());
    for (int32_t b = 0; b < kPadButtonCount; ++b)
        EXPECT_EQ(PadButtonFromName(PadButtonName(PadButton(b))), PadButton(b));
    EXPECT_EQ(PadButtonFromName("south"), PadButton::kSouth);
    EXPECT_EQ(PadButtonFromName(""), PadButton::kNone);
}

TEST(KeyBindings, DefaultsKeepTheGamesKeysAndGiveNoKeyTwoMeanings) {
    const KeyBindings b = DefaultKeyBindings();
    std::set<int> codes;
    std::set<PadButton> buttons;
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        const KeyBinding& one = b[GameKey(k)];
        EXPECT_EQ(one.keys[0], GameKeyCode(GameKey(k))) << GameKeyName(GameKey(k));
        for (int code : one.keys)
            if (code) EXPECT_TRUE(codes.insert(code).second) << KeyboardKeyName(code);
        EXPECT_TRUE(buttons.insert(one.pad).second);
    }
    // The game reads no letter but V: the alternates are free.
    EXPECT_TRUE(codes.count('Z') && codes.count('W') && codes.count(VK_V));
    EXPECT_EQ(b[GameKey::kConfirm].pad, PadButton::kSouth);
    EXPECT_EQ(b[GameKey::kCancel].pad, PadButton::kEast);
    EXPECT_EQ(b[GameKey::kMenu].pad, PadButton::kStart);
}

TEST(KeyBindings, BindingAKeyAnotherGameKeyHadSwapsThem) {
    KeyBindings b = DefaultKeyBindings();
    BindKeyboardKey(b, GameKey::kUp, 1, 'Z');  // Up's W goes to Confirm
    EXPECT_EQ(b[GameKey::kUp].keys, (std::array<int, 2>{VK_UP, 'Z'}));
    EXPECT_EQ(b[GameKey::kConfirm].keys, (std::array<int, 2>{VK_SHIFT, 'W'}));
    BindKeyboardKey(b, GameKey::kUp, 0, 'Z');  // within one game key
    EXPECT_EQ(b[GameKey::kUp].keys, (std::array<int, 2>{'Z', VK_UP}));
    BindKeyboardKey(b, GameKey::kUp, 1, 0);
    EXPECT_EQ(b[GameKey::kUp].keys, (std::array<int, 2>{'Z', 0}));
    BindPadButton(b, GameKey::kCamera, PadButton::kSouth);
    EXPECT_EQ(b[GameKey::kConfirm].pad, PadButton::kLeftShoulder);
    EXPECT_EQ(b[GameKey::kCamera].pad, PadButton::kSouth);
}

TEST(BoundKeys, GameKeysFollowTheirKeysButtonsAndTheStick) {
    ScriptedKeys keyboard;
    FakePad pad;
    BoundKeys bound;
    bound.keyboard = &keyboard;
    bound.pad = &pad;
    auto down = [&bound](int vk) { return (bound.GetKeyState(vk) & 0x80) != 0; };
    keyboard.down['Z'] = true;
    EXPECT_TRUE(down(VK_SHIFT));
    keyboard.down.clear();
    keyboard.down[VK_ESCAPE] = true;
    EXPECT_TRUE(down(VK_ESCAPE));  // no game key's: the keyboard's own
    pad.buttons = {int(PadButton::kStart)};
    EXPECT_TRUE(down(VK_RETURN));
    pad.buttons.clear();
    pad.stick = 3;
    EXPECT_TRUE(down(VK_RIGHT));
    EXPECT_FALSE(down(VK_LEFT));
    bound.padOn = false;
    EXPECT_FALSE(down(VK_RIGHT));
    BindKeyboardKey(bound.bindings, GameKey::kRight, 0, 0);
    keyboard.down[VK_RIGHT] = true;
    EXPECT_FALSE(down(VK_RIGHT));  // the arrow no longer moves right
}

TEST(KeyCapture, OnlyAFreshPressCountsAndLowerCodesComeFirst) {
    ScriptedKeys keyboard;
    FakePad pad;
    KeyCapture capture;
    keyboard.down[VK_SHIFT] = keyboard.down[0xA0] = true;  // the Shift that chose the cell
    capture.Start(&keyboard, &pad);
    EXPECT_EQ(capture.NextKey(&keyboard), 0);
    keyboard.down.clear();
    EXPECT_EQ(capture.NextKey(&keyboard), 0);
    keyboard.down[VK_SHIFT] = keyboard.down[0xA0] = true;
    EXPECT_EQ(capture.NextKey(&keyboard), VK_SHIFT);
    keyboard.down[VK_ESCAPE] = true;
    EXPECT_EQ(capture.NextKey(&keyboard), 0);
    pad.buttons = {int(PadButton::kNorth), int(PadButton::kDpadUp)};
    EXPECT_EQ(capture.NextButton(&pad), PadButton::kNorth);
    EXPECT_EQ(capture.NextButton(&pad), PadButton::kNone);
}

}  // namespace
