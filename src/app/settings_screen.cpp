#include "app/settings_screen.h"

#include <algorithm>
#include <string>

#include "app/player_settings.h"
#include "base/sjis.h"
#include "field/menu_page_look.h"
#include "sound/sound.h"
#include "ui/menu_keys.h"

SettingsScreen g_SettingsScreen;

namespace {

constexpr int32_t kVolumeStep = 10;

// The settings page's lines, in the order shown.
enum SettingsLine : int32_t {
    kWindowMode,
    kWindowScale,
    kVsync,
    kMusic,
    kEffects,
    kGamepad,
    kRokEdges,
    kAskBeforeQuitting,
    kKeysLine,
    kLineCount
};

const std::string& OnOff(bool on) {
    return on ? SJIS("オン") : SJIS("オフ");
}

std::string Percent(int32_t value) {
    return std::to_string(value) + "%";
}

// A line's name, value and help, as the page shows them.
MenuViewLine Describe(int32_t line, const Settings& s) {
    MenuViewLine l;
    l.id = line;
    switch (line) {
        case kWindowMode:
            l.text = SJIS("画面");
            l.value = s.windowMode == WindowMode::kWindow ? SJIS("ウィンドウ") : SJIS("全画面");
            l.help = SJIS("ウィンドウか　全画面か");
            break;
        case kWindowScale:
            l.text = SJIS("拡大");
            l.value = s.windowScale == WindowScale::kFit ? SJIS("いっぱいに") : SJIS("整数倍");
            l.help = SJIS("画面いっぱいに　広げるか　640x480 の整数倍か");
            break;
        case kVsync:
            l.text = SJIS("垂直同期");
            l.value = OnOff(s.vsync);
            l.help = SJIS("画面の書き換えに　あわせて　動く");
            break;
        case kMusic:
            l.text = SJIS("音楽の音量");
            l.value = Percent(s.musicVolume);
            l.help = SJIS("音楽の　大きさ");
            break;
        case kEffects:
            l.text = SJIS("効果音の音量");
            l.value = Percent(s.effectVolume);
            l.help = SJIS("効果音の　大きさ");
            break;
        case kGamepad:
            l.text = SJIS("ゲームパッド");
            l.value = OnOff(s.gamepad);
            l.help = SJIS("ゲームパッドで　あそぶ");
            break;
        case kRokEdges:
            l.text = SJIS("rok の辺データ");
            l.value = s.rokEdges == RokEdgeAnswer::kYes  ? SJIS("読む")
                      : s.rokEdges == RokEdgeAnswer::kNo ? SJIS("読まない")
                                                         : SJIS("きく");
            l.help = SJIS("rok のモデルの　辺データを　読むか");
            break;
        case kAskBeforeQuitting:
            l.text = SJIS("終わる前に確認");
            l.value = OnOff(s.askBeforeQuitting);
            l.help = SJIS("記録していない　ゲームを　終わる前に　たずねる");
            break;
        default:
            l.text = SJIS("キーの設定");
            l.value = ">";
            l.help = SJIS("キーとボタンの　わりあて");
            break;
    }
    return l;
}

template <typename E>
E Next(E value, int32_t side, int32_t count) {
    return E(((int32_t(value) + side) % count + count) % count);
}

// Left or Right on a line: its value one step that way (round for choices, stopping for the
// volumes).
void Change(int32_t line, int32_t side, Settings& s) {
    switch (line) {
        case kWindowMode:
            s.windowMode = Next(s.windowMode, side, 2);
            break;
        case kWindowScale:
            s.windowScale = Next(s.windowScale, side, 2);
            break;
        case kVsync:
            s.vsync = !s.vsync;
            break;
        case kMusic:
            s.musicVolume = std::clamp(s.musicVolume + side * kVolumeStep, 0, 100);
            break;
        case kEffects:
            s.effectVolume = std::clamp(s.effectVolume + side * kVolumeStep, 0, 100);
            break;
        case kGamepad:
            s.gamepad = !s.gamepad;
            break;
        case kRokEdges:
            // ask, yes, no: the three that are settings.
            s.rokEdges = RokEdgeAnswer(1 + (int32_t(s.rokEdges) - 1 + side + 3) % 3);
            break;
        case kAskBeforeQuitting:
            s.askBeforeQuitting = !s.askBeforeQuitting;
            break;
        default:
            break;
    }
}

void SettingsPageInput(SettingsScreen& screen) {
    PageKeys k;
    if (!ReadPageKeys(k, screen.timer)) return;
    if (k.back) {
        SaveSettings();
        CloseSettingsScreen();
        // The entries wait for Ctrl to be let go before it closes the menu.
        g_MenuScreen.keysHeld = true;
        return;
    }
    if (k.choose && screen.cursor == kKeysLine) {
        screen.page = SettingsPage::kKeys;
        screen.cursor = 0;
        screen.column = 0;
        PlaySound(g_SeSlots[0]);
    } else if (k.side != 0 && screen.cursor != kKeysLine) {
        Change(screen.cursor, k.side, g_Settings);
        ApplySettings();
        PlaySound(g_SeSlots[0]);  // heard at the effect volume just set
    } else if (k.step != 0) {
        screen.cursor = (screen.cursor + k.step + kLineCount) % kLineCount;
    }
}

}  // namespace

void OpenSettingsScreen() {
    g_SettingsScreen = SettingsScreen();
    g_SettingsScreen.open = true;
}

bool SettingsScreenOpen() {
    return g_SettingsScreen.open;
}

void CloseSettingsScreen() {
    g_SettingsScreen = SettingsScreen();
}

void SettingsScreenInput() {
    SettingsScreen& screen = g_SettingsScreen;
    if (!screen.open) return;
    if (screen.page == SettingsPage::kKeys)
        KeysPageInput();
    else
        SettingsPageInput(screen);
}

MenuView BuildSettingsView() {
    const SettingsScreen& screen = g_SettingsScreen;
    if (screen.page == SettingsPage::kKeys) return BuildKeysView();
    MenuView v;
    v.title = SJIS("せってい");
    for (int32_t line = 0; line < kLineCount; ++line) v.lines.push_back(Describe(line, g_Settings));
    v.cursor = std::clamp(screen.cursor, 0, kLineCount - 1);
    v.help = screen.message.empty() ? v.lines[size_t(v.cursor)].help : screen.message;
    return v;
}

void DrawSettingsScreen() {
    if (g_SettingsScreen.open) DrawMenuView(BuildSettingsView());
}

void InstallSettingsScreen() {
    g_OpenSettingsScreen = OpenSettingsScreen;
    g_SettingsOverMenu = {SettingsScreenOpen, SettingsScreenInput, DrawSettingsScreen};
}
