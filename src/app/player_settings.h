#pragma once
#include <string>

#include "app/settings.h"

// The program's settings, where they come from and where they go. Three layers, each over the
// one before: the engine's defaults, the data set's Datas\Settings.ini (what suits its game),
// and the player's file. Only the player's file is written. Problems go to standard error with
// the file and the key; a file that is missing, unreadable or in a folder that cannot be written
// never stops the game.

extern Settings g_Settings;

// Where the player's settings are: $XDG_CONFIG_HOME/gh02/settings.ini ($XDG_CONFIG_HOME when
// it is an absolute path), else ~/.config/gh02/settings.ini.
std::string DefaultSettingsPath();

// Reads the data set's defaults and the player's file (`playerFile`; empty: none is read or
// written, the data set's defaults alone). The data folder must be known.
void LoadSettings(const std::string& playerFile);
// Writes g_Settings to the player's file (atomically, its folder made when missing) when they
// differ from what the file holds. False, with a line on standard error, when it could not be
// written; a file that could not be read is not written over.
bool SaveSettings();
// Forgets the files and puts the engine's defaults back (tests).
void ResetSettings();

// Puts g_Settings into effect at once: the key bindings and the gamepad, the volumes, the rok
// question's answer and the window (g_ApplyWindowSettings).
void ApplySettings();
// What changes the window: mode, scale and vsync. Installed by main; null in headless runs.
extern void (*g_ApplyWindowSettings)(const Settings& settings);
