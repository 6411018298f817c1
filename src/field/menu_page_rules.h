#pragma once
#include <cstdint>
#include <string>

#include "field/menu_pages.h"

// What each page of the menu screen does (menu_pages.cpp runs them): the lines it shows, what
// Shift does on the line under the cursor, and what Left and Right do. Lines carry in `id` what
// they stand for (a goods record, a member, a weapon, a place).

struct MenuPageRules {
    void (*view)(const MenuScreenState& m, MenuView& v);
    void (*choose)(MenuScreenState& m, const MenuViewLine& line);  // null: nothing to choose
    void (*side)(MenuScreenState& m, int32_t direction);           // null: Left and Right idle
};

extern const MenuPageRules kItemsPage;
extern const MenuPageRules kTechniquesPage;
extern const MenuPageRules kEquipmentPage;
extern const MenuPageRules kStrengthPage;
extern const MenuPageRules kOrderPage;

// A line with its text, the value at its right and what it stands for.
MenuViewLine Line(std::string text, std::string value = {}, int32_t id = -1);
// A heading between the boxes.
MenuViewLine Heading(std::string text);

// The first line at or after `cursor` (going round) that is not a heading; -1 when none is.
int32_t FitCursor(const MenuView& v, int32_t cursor);
// The member's name as the menus show it ("－" for a place nobody holds).
std::string MemberName(int32_t member);
// "HP  30/ 120 MP   5/  24" of a member.
std::string PointsText(int32_t member);
// Moves the first step's choice on to the second step.
void StepOn(MenuScreenState& m, int32_t chosen);
// Back to the first step, the cursor where it was when the first step chose.
void StepBack(MenuScreenState& m);
// Forgets the weapon names the equipment page has read (its page opens anew).
void ForgetWeaponNames();
// Weapon `number`'s name as the menus show it, read from its file once while the page is open.
const std::string& WeaponName(int32_t number);
