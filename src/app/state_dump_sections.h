#pragma once
#include <nlohmann/json.hpp>
#include <string_view>

#include "app/frame_handlers.h"
#include "base/frame.h"

struct MenuView;
struct QScrOrg;
struct SlotList;
struct Vector3;

// The sections of the state dump. Each fills its own keys of the dump object, named as the
// engine names them. A new part of the engine adds its section as one function in a file of its
// own (state_dump_<part>.cpp), declared here and listed once in state_dump.cpp's section table.

// Frame count, clock, keys, fade, the random generator, the text rectangle, the message boxes
// shown so far, the texture slots.
void DumpShellSection(nlohmann::json& j);
// g_FrameProc and the other handlers by name, the mode words, field names and music name.
void DumpModeSection(nlohmann::json& j);
// The game-state record (field script, lists, handlers), the field globals, the talk windows.
void DumpFieldSection(nlohmann::json& j);
// The camera with its scripted motion, the characters in use, the party, the enemy set.
void DumpWorldSection(nlohmann::json& j);
// The first record of every data table.
void DumpTablesSection(nlohmann::json& j);
// The title menu, the save screen and the quit box, each null while it is not shown.
void DumpScreensSection(nlohmann::json& j);
// The player's settings as the settings file has them, and the settings screen (null while it
// is closed).
void DumpSettingsSection(nlohmann::json& j);
// The battle: null outside battles; otherwise its phase, per-fighter values with their status
// records, the labels in use and the menu.
nlohmann::json DumpBattle();

// Helpers the sections share.
nlohmann::json DumpVector(const Vector3& v);
// Game text (Shift-JIS bytes up to the first NUL within `capacity`) as UTF-8.
std::string DumpText(const char* sjis, size_t capacity);
// A script record: pc, running, the variables, str and the fade counter.
nlohmann::json DumpScript(const QScrOrg& s);
// A page of lines (the menu screen's pages, the settings screen): its title, help, member,
// cursor and lines.
nlohmann::json DumpMenuView(const MenuView& view);
// A slot list: its cursor, each slot's state and texts, the message of its help strip.
nlohmann::json DumpSlotList(const SlotList& list);
