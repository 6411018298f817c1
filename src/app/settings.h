#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/key_bindings.h"
#include "model/rz_model_load.h"

// The player's settings. They belong to the program, not to a game: a new game or a loaded one
// keeps them, and they are read from and written to an INI file (docs/settings.md):
//
//   [window]   mode = window | fullscreen, scale = fit | integer, vsync = true,
//              width, height (the last window's size, written by the game)
//   [sound]    music, effects (0-100)
//   [keys]     up = Up, W ... (up to two keyboard keys for each game key)
//   [gamepad]  enabled = true, up = DpadUp, ... (one button for each game key)
//   [game]     rok_edges = ask | yes | no, ask_before_quitting = true
//
// A value may stand in quotes; '#' and ';' start a comment line.

enum class WindowMode { kWindow, kFullscreen };
enum class WindowScale { kFit, kInteger };

struct Settings {
    WindowMode windowMode = WindowMode::kFullscreen;
    WindowScale windowScale = WindowScale::kFit;
    bool vsync = true;
    int32_t windowWidth = 0;  // the window's last size; 0: chosen from the display
    int32_t windowHeight = 0;
    int32_t musicVolume = 100;  // percent
    int32_t effectVolume = 100;
    KeyBindings keys = DefaultKeyBindings();
    bool gamepad = true;
    RokEdgeAnswer rokEdges = RokEdgeAnswer::kAsk;  // kAskEachTime is not a setting
    bool askBeforeQuitting = true;
    bool operator==(const Settings&) const = default;
};

// A window's size is kept only within these bounds.
constexpr int32_t kMinWindowWidth = 320, kMinWindowHeight = 240;
constexpr int32_t kMaxWindowSide = 16384;
// A settings file longer than this is not read.
constexpr size_t kMaxSettingsFileBytes = 64 * 1024;

// Reads a settings file's text over `settings`: what the file gives and can be used replaces
// the value; a value that cannot ("window.mode: \"big\" is not window or fullscreen") is named
// in `problems` with the key, and the value before stays. Keys it does not know are left for
// the writer. False, with the line and the reason in `problems`, when a line is none of a
// [section], a key = value, a comment or a blank, or cannot be read (nothing is taken from the
// file then).
bool ParseSettings(std::string_view text, Settings& settings, std::vector<std::string>& problems);

// The text of a settings file holding `settings`: `previous` (the file's text as read, empty for
// a new file) with every setting written over it, so that what the engine does not know stays.
std::string FormatSettings(const Settings& settings, std::string_view previous);

// The names the file and the screens use for the enumerations ("window", "fit", "ask", ...).
const char* WindowModeName(WindowMode mode);
const char* WindowScaleName(WindowScale scale);
const char* RokEdgeAnswerName(RokEdgeAnswer answer);
