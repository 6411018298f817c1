#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The pages the menu screen's entries open when the data set says what they do
// (world/menu_actions.h): items, techniques, equipment, strength and the party's order, each
// drawn in the menu screen's own look with the list's cursor and sound. Up and Down move the
// cursor, Left and Right change the member shown, Shift chooses, Ctrl goes back a step and from
// the first step back to the menu's entries.

enum class MenuPage { kMain, kItems, kTechniques, kEquipment, kStrength, kOrder };

struct MenuScreenState {
    MenuPage page = MenuPage::kMain;  // kMain: the menu's entries
    int32_t entry = 0;                // the entry that opened the page (its name is the title)
    int32_t cursor = 0;               // the line under the cursor
    int32_t member = 0;               // the member shown: a fighter slot (techniques) or a place
    int32_t step = 0;                 // 0: the page's first list; 1: the second
    int32_t chosen = -1;              // what the first step chose
    int32_t chosenLine = 0;           // the line it was on
    std::string message;              // what the last choice did (Shift-JIS); empty: the help
    bool keysHeld = false;            // the entries wait for Shift and Ctrl to be let go
    int32_t scriptEntry = -1;         // the entry whose label runs once the field is back; -1 none
};
extern MenuScreenState g_MenuScreen;

// What settings does: the settings screen installs its opener; null leaves the entry inert.
extern void (*g_OpenSettingsScreen)();
// While the screen it opened is open it takes the menu screen's keys and is drawn over the
// menu's background: whether it is open, one frame of its keys, its picture. Installed with the
// opener; null: no such screen.
struct OverMenuScreen {
    bool (*isOpen)() = nullptr;
    void (*input)() = nullptr;
    void (*draw)() = nullptr;
};
extern OverMenuScreen g_SettingsOverMenu;

// One line of a page: a box with a text and a value at its right, or a heading between boxes.
struct MenuViewLine {
    std::string text;      // Shift-JIS
    std::string value;     // Shift-JIS
    std::string help;      // the help strip while the cursor is on it; empty: the page's help
    int32_t id = -1;       // what the line stands for (a goods record, a member, a weapon, a place)
    bool heading = false;  // no box; the cursor passes over it
    bool grey = false;     // cannot be chosen (or a member who is down)
    bool marked = false;   // what the first step chose
};

// A page as it shows now; the drawing and the state dump read it.
struct MenuView {
    std::string title;    // the entry's name
    std::string help;     // the help strip
    int32_t member = -1;  // the party member shown at the left; -1 none
    std::vector<MenuViewLine> lines;
    int32_t cursor = -1;  // -1: no cursor
};

// The entry under the cursor chosen with Shift: what the data set says it does. False, doing
// nothing, for an entry that does nothing.
bool ChooseMenuEntry(int32_t entry);
// One frame of the open page's keys, in place of the entries'.
void MenuPageInput();
// The open page as it shows now (an empty view on the entries).
MenuView BuildMenuView();
// The page's name in the state dump: "items", ... ("main" on the entries).
const char* MenuPageName(MenuPage page);
// Runs the label an entry asked for, once the field is back: the field script starts there, or
// a box names the file, its line and the label the script lacks.
void RunChosenMenuLabel();
// Back to the entries with nothing chosen (opening the screen, the world reset).
void ResetMenuScreenState();
