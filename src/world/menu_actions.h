#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the entries of the menu screen do: a data set that wants them to do something gives
// Datas\MnuActions.qd beside the menu table, one "entry action" a line (Shift-JIS,
// docs/content.md):
//
//   0 items            the party's goods; one can be used on a member
//   1 techniques       the fighting members' techniques
//   2 equipment        each member's weapon, chosen from the weapons the party owns
//   3 strength         one member's points and stats
//   4 order            which three members fight, and in which order
//   5 settings         the settings screen (inert until one is installed)
//   6 close            closes the menu screen as Ctrl does
//   5 save             the save screen
//   3 script SHOP      closes the menu screen and runs the field script from the label SHOP
//
// Entries are numbered from 0 as the menu table lists them; an entry the file does not name does
// nothing, as every entry does without the file. A "#" at the start of a word starts a comment.

constexpr const char* kMenuActionsPath = "Datas\\MnuActions.qd";
constexpr size_t kMaxMenuActionsFileBytes = 16 * 1024;
// The menu screen shows and chooses from this many entries of the menu table.
constexpr int32_t kMenuEntryCount = 7;
// A label to run is at most this long.
constexpr size_t kMaxMenuLabelLength = 63;

enum class MenuAction : uint8_t {
    kNone,
    kItems,
    kTechniques,
    kEquipment,
    kStrength,
    kOrder,
    kSettings,
    kSave,
    kClose,
    kScript,
};

struct MenuEntryAction {
    MenuAction action = MenuAction::kNone;
    std::string label;  // kScript: the label, Shift-JIS
    int32_t line = 0;   // the line of the file that gave it
};

struct MenuActions {
    std::array<MenuEntryAction, kMenuEntryCount> entries;
    // What could not be used, one line each ("line 3: ..."); those lines are skipped.
    std::vector<std::string> problems;
};

// Reads the file's text for a menu table of `entryCount` records (an entry number must be below
// both it and kMenuEntryCount). Never fails: what cannot be used is named in `problems`.
MenuActions ParseMenuActions(std::string_view text, int32_t entryCount);
// The word an action is written as ("items", ... "script").
const char* MenuActionWord(MenuAction action);

// The data set's actions (every entry kNone without the file).
const MenuActions& DataSetMenuActions();
// Reads the file of the data folder after the menu table (game start); the problems of a file
// that is there are shown in one box that names it. No file: every entry does nothing.
void LoadMenuActions();
// Every entry back to nothing (the world reset and tests).
void ReleaseMenuActions();
