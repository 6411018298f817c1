#pragma once
#include <cstdint>
#include <string>

#include "base/bound_keys.h"
#include "field/menu_pages.h"

// The settings screen, in the menu screen's look: each setting with its value. Up and Down
// choose a setting, Left and Right change it, and the change takes effect at once (the cursor's
// sound plays at the new effect volume, the window changes its mode); Shift on "keys" opens the
// key bindings page; Ctrl leaves and writes the settings (app/player_settings.h). The title menu
// opens it from its settings entry and the menu screen from the entry whose action is
// "settings"; while it is open it takes their keys and is drawn over the menu's background.
//
// The key bindings page lists the game's keys with their two keyboard keys and their pad
// button. Up and Down choose a game key, Left and Right one of the three, Shift waits for the
// key (or button) to give it (a key another game key had swaps places with what was there),
// Backspace takes it away (not a game key's last keyboard key), Ctrl goes back to the settings.
// The last line puts the engine's bindings back. Escape is never taken: it stays the quit key.

enum class SettingsPage { kSettings, kKeys };

struct SettingsScreen {
    bool open = false;
    SettingsPage page = SettingsPage::kSettings;
    int32_t cursor = 0;        // the line
    int32_t column = 0;        // keys page: 0 and 1 keyboard keys, 2 the pad's button
    bool capturing = false;    // keys page: waiting for the key to bind
    bool waitRelease = false;  // a key was just bound: nothing counts until all are let go
    KeyCapture capture;
    int32_t timer = 0;    // the screen's own action timer
    std::string message;  // Shift-JIS, in the help strip instead of the line's help; empty none
};
extern SettingsScreen g_SettingsScreen;

// Opens the screen on its first line (g_OpenSettingsScreen).
void OpenSettingsScreen();
bool SettingsScreenOpen();
// Closed without writing (the world reset, tests).
void CloseSettingsScreen();
// One frame of the screen's keys.
void SettingsScreenInput();
// The screen over whatever is drawn: the page as BuildSettingsView gives it.
void DrawSettingsScreen();
// The page as it shows now.
MenuView BuildSettingsView();
// Makes the menu screen's settings entry open this screen (with the field's first frame).
void InstallSettingsScreen();

// The keys page's part (app/settings_keys_page.cpp).
MenuView BuildKeysView();
void KeysPageInput();
