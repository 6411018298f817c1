// The settings screen's key bindings page (app/settings_screen.h).
#include <string>

#include "app/player_settings.h"
#include "app/settings_screen.h"
#include "base/host.h"
#include "base/keys.h"
#include "base/sjis.h"
#include "sound/sound.h"
#include "ui/menu_keys.h"

namespace {

constexpr int32_t kColumns = kKeySlots + 1;  // the keyboard's two, then the pad's
constexpr int32_t kDefaultsLine = kGameKeyCount;
constexpr int32_t kLines = kGameKeyCount + 1;
constexpr size_t kCellWidth = 9;

const std::string& GameKeyText(int32_t key) {
    switch (GameKey(key)) {
        case GameKey::kUp:
            return SJIS("上");
        case GameKey::kDown:
            return SJIS("下");
        case GameKey::kLeft:
            return SJIS("左");
        case GameKey::kRight:
            return SJIS("右");
        case GameKey::kConfirm:
            return SJIS("決定");
        case GameKey::kCancel:
            return SJIS("取り消し");
        case GameKey::kMenu:
            return SJIS("メニュー");
        case GameKey::kBack:
            return SJIS("バック");
        default:
            return SJIS("カメラ");
    }
}

// One of a line's three: its name cut or padded to the cell, in brackets under the cursor.
std::string Cell(std::string name, bool chosen) {
    if (name.empty()) name = "-";
    name.resize(kCellWidth, ' ');
    return chosen ? "[" + name + "]" : " " + name + " ";
}

std::string CellName(const KeyBinding& b, int32_t column) {
    if (column < kKeySlots) return std::string(KeyboardKeyName(b.keys[size_t(column)]));
    // The shoulders, triggers and sticks by their side's letter, so that every name fits.
    std::string name(PadButtonName(b.pad));
    for (const char* side : {"Left", "Right"})
        if (name.rfind(side, 0) == 0) name = side[0] + name.substr(std::string(side).size());
    return name;
}

bool AnyDown(IKeySource* keyboard, IGamepad* pad) {
    for (int code = 1; code < 256; ++code)
        if (keyboard && (keyboard->GetKeyState(code) & 0x80)) return true;
    for (int32_t b = 0; b < kPadButtonCount; ++b)
        if (pad && pad->ButtonDown(b)) return true;
    return false;
}

// Waiting for the key or button to bind: the first one pressed is taken. A keyboard key while a
// pad button is awaited gives up.
void Capture(SettingsScreen& screen) {
    KeyBindings& keys = g_Settings.keys;
    const GameKey key = GameKey(screen.cursor);
    const int code = screen.capture.NextKey(g_BoundKeys.keyboard);
    const PadButton button = screen.capture.NextButton(g_BoundKeys.pad);
    if (screen.column < kKeySlots && code) {
        BindKeyboardKey(keys, key, screen.column, code);
    } else if (screen.column == kKeySlots && button != PadButton::kNone) {
        BindPadButton(keys, key, button);
    } else if (!code) {
        return;
    }
    screen.capturing = false;
    screen.waitRelease = true;
    screen.message.clear();
    ApplySettings();
    PlaySound(g_SeSlots[0]);
}

// Backspace on a cell: it is emptied, unless it holds its game key's last keyboard key.
void Erase(SettingsScreen& screen) {
    if (screen.cursor >= kGameKeyCount) return;
    KeyBinding& b = g_Settings.keys[GameKey(screen.cursor)];
    if (screen.column == kKeySlots) {
        b.pad = PadButton::kNone;
    } else {
        const int other = b.keys[size_t(1 - screen.column)];
        if (!other) {
            screen.message = SJIS("さいごの　キーは　消せません");
            return;
        }
        b.keys[size_t(screen.column)] = 0;
    }
    screen.message.clear();
    ApplySettings();
    PlaySound(g_SeSlots[0]);
}

}  // namespace

MenuView BuildKeysView() {
    const SettingsScreen& screen = g_SettingsScreen;
    MenuView v;
    v.title = SJIS("キーの設定");
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        MenuViewLine line;
        line.text = GameKeyText(k);
        line.id = k;
        const KeyBinding& b = g_Settings.keys[GameKey(k)];
        for (int32_t c = 0; c < kColumns; ++c) {
            const bool chosen = k == screen.cursor && c == screen.column;
            line.value += Cell(chosen && screen.capturing ? "?" : CellName(b, c), chosen);
        }
        v.lines.push_back(line);
    }
    MenuViewLine defaults;
    defaults.text = SJIS("はじめの　わりあてに　もどす");
    defaults.id = kDefaultsLine;
    v.lines.push_back(defaults);
    v.cursor = screen.cursor;
    if (!screen.message.empty())
        v.help = screen.message;
    else if (screen.capturing)
        v.help = screen.column == kKeySlots
                     ? SJIS("ボタンを　押してください")
                     : SJIS("キーを　押してください（Escape は　終わるキー）");
    else
        v.help = SJIS("Shift：変える　BackSpace：消す　Ctrl：もどる");
    return v;
}

void KeysPageInput() {
    SettingsScreen& screen = g_SettingsScreen;
    if (screen.capturing) {
        Capture(screen);
        return;
    }
    if (screen.waitRelease) {
        // The key just bound may be a game key now: it counts once it has been let go.
        if (AnyDown(g_BoundKeys.keyboard, g_BoundKeys.pad)) return;
        screen.waitRelease = false;
    }
    PageKeys k;
    if (!ReadPageKeys(k, screen.timer)) return;
    UpdateKey(VK_BACK, g_KeyBack);
    if (k.back) {
        screen.page = SettingsPage::kSettings;
        screen.cursor = 0;
        screen.message.clear();
        PlaySound(g_SeSlots[0]);
    } else if (k.choose && screen.cursor == kDefaultsLine) {
        g_Settings.keys = DefaultKeyBindings();
        screen.message = SJIS("はじめの　わりあてに　もどしました");
        ApplySettings();
        PlaySound(g_SeSlots[0]);
    } else if (k.choose) {
        screen.capturing = true;
        screen.message.clear();
        screen.capture.Start(g_BoundKeys.keyboard, g_BoundKeys.pad);
    } else if (g_KeyBack == kKeyPressed) {
        Erase(screen);
    } else if (k.side != 0) {
        screen.column = (screen.column + k.side + kColumns) % kColumns;
    } else if (k.step != 0) {
        screen.cursor = (screen.cursor + k.step + kLines) % kLines;
    }
}
