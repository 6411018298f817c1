#include "field/menu_pages.h"

#include <utility>

#include "base/host.h"
#include "base/keys.h"
#include "base/message_box.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/field_triggers.h"
#include "field/game_state.h"
#include "field/menu_page_rules.h"
#include "field/save_screen.h"
#include "sound/sound.h"
#include "ui/menu_keys.h"
#include "ui/menu_list.h"
#include "world/data_tables.h"
#include "world/input_gate.h"
#include "world/menu_actions.h"
#include "world/mode_words.h"

MenuScreenState g_MenuScreen;
void (*g_OpenSettingsScreen)() = nullptr;
OverMenuScreen g_SettingsOverMenu;

namespace {

const MenuPageRules* RulesOf(MenuPage page) {
    switch (page) {
        case MenuPage::kItems:
            return &kItemsPage;
        case MenuPage::kTechniques:
            return &kTechniquesPage;
        case MenuPage::kEquipment:
            return &kEquipmentPage;
        case MenuPage::kStrength:
            return &kStrengthPage;
        case MenuPage::kOrder:
            return &kOrderPage;
        case MenuPage::kMain:
            break;
    }
    return nullptr;
}

MenuPage PageOf(MenuAction action) {
    switch (action) {
        case MenuAction::kItems:
            return MenuPage::kItems;
        case MenuAction::kTechniques:
            return MenuPage::kTechniques;
        case MenuAction::kEquipment:
            return MenuPage::kEquipment;
        case MenuAction::kStrength:
            return MenuPage::kStrength;
        case MenuAction::kOrder:
            return MenuPage::kOrder;
        default:
            return MenuPage::kMain;
    }
}

// The next line in the direction that is not a heading, going round.
int32_t NextLine(const MenuView& v, int32_t cursor, int32_t direction) {
    const int32_t n = int32_t(v.lines.size());
    for (int32_t i = 1; i <= n; ++i) {
        const int32_t at = ((cursor + direction * i) % n + n) % n;
        if (!v.lines[size_t(at)].heading) return at;
    }
    return cursor;
}

void BackToEntries(MenuScreenState& m) {
    const bool held = m.keysHeld;
    m = MenuScreenState();
    m.keysHeld = held;
}

}  // namespace

MenuViewLine Line(std::string text, std::string value, int32_t id) {
    MenuViewLine line;
    line.text = std::move(text);
    line.value = std::move(value);
    line.id = id;
    return line;
}

MenuViewLine Heading(std::string text) {
    MenuViewLine line = Line(std::move(text));
    line.heading = true;
    return line;
}

int32_t FitCursor(const MenuView& v, int32_t cursor) {
    const int32_t n = int32_t(v.lines.size());
    if (n == 0) return -1;
    if (cursor < 0 || cursor >= n) cursor = cursor < 0 ? 0 : n - 1;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t at = (cursor + i) % n;
        if (!v.lines[size_t(at)].heading) return at;
    }
    return -1;
}

void StepOn(MenuScreenState& m, int32_t chosen) {
    m.chosen = chosen;
    m.chosenLine = m.cursor;
    m.step = 1;
    m.cursor = 0;
}

void StepBack(MenuScreenState& m) {
    m.step = 0;
    m.cursor = m.chosenLine;
    m.chosen = -1;
}

bool ChooseMenuEntry(int32_t entry) {
    if (entry < 0 || entry >= kMenuEntryCount) return false;
    const MenuEntryAction& a = DataSetMenuActions().entries[size_t(entry)];
    MenuScreenState& m = g_MenuScreen;
    switch (a.action) {
        case MenuAction::kNone:
            return false;
        case MenuAction::kSettings:
            if (!g_OpenSettingsScreen) return false;
            g_OpenSettingsScreen();
            break;
        case MenuAction::kSave:
            OpenSaveScreen();
            break;
        case MenuAction::kClose:
        case MenuAction::kScript:
            if (g_ModeNow != 0) return false;
            if (a.action == MenuAction::kScript) m.scriptEntry = entry;
            CloseMenuScreen();
            return true;
        default:
            m.page = PageOf(a.action);
            m.entry = entry;
            ForgetWeaponNames();
            break;
    }
    m.keysHeld = true;
    g_ActionTimer = kMenuKeyHoldBack;
    PlaySound(g_SeSlots[0]);
    return true;
}

void MenuPageInput() {
    MenuScreenState& m = g_MenuScreen;
    const MenuPageRules* rules = RulesOf(m.page);
    PageKeys k;
    if (!rules || !ReadPageKeys(k, g_ActionTimer)) return;
    const MenuView v = BuildMenuView();
    if (v.cursor >= 0) m.cursor = v.cursor;
    if (k.back) {
        PlaySound(g_SeSlots[1]);
        m.message.clear();
        if (m.step > 0)
            StepBack(m);
        else
            BackToEntries(m);
    } else if (k.choose) {
        if (v.cursor < 0 || !rules->choose) return;
        PlaySound(g_SeSlots[0]);
        m.message.clear();
        rules->choose(m, v.lines[size_t(v.cursor)]);
    } else if (k.side) {
        if (!rules->side) return;
        PlaySound(g_SeSlots[0]);
        m.message.clear();
        rules->side(m, k.side);
    } else if (k.step && v.cursor >= 0) {
        m.message.clear();
        m.cursor = NextLine(v, v.cursor, k.step);
    }
}

MenuView BuildMenuView() {
    const MenuScreenState& m = g_MenuScreen;
    MenuView v;
    const MenuPageRules* rules = RulesOf(m.page);
    if (!rules) return v;
    v.title = MenuEntries[m.entry].name;
    rules->view(m, v);
    if (!m.message.empty())
        v.help = m.message;
    else if (v.cursor >= 0 && !v.lines[size_t(v.cursor)].help.empty())
        v.help = v.lines[size_t(v.cursor)].help;
    return v;
}

const char* MenuPageName(MenuPage page) {
    switch (page) {
        case MenuPage::kItems:
            return "items";
        case MenuPage::kTechniques:
            return "techniques";
        case MenuPage::kEquipment:
            return "equipment";
        case MenuPage::kStrength:
            return "strength";
        case MenuPage::kOrder:
            return "order";
        case MenuPage::kMain:
            break;
    }
    return "main";
}

void RunChosenMenuLabel() {
    const int32_t entry = g_MenuScreen.scriptEntry;
    g_MenuScreen.scriptEntry = -1;
    if (entry < 0 || entry >= kMenuEntryCount || !g_pGameState) return;
    const MenuEntryAction& a = DataSetMenuActions().entries[size_t(entry)];
    if (a.action != MenuAction::kScript) return;
    if (!g_pGameState->fieldScript.HasLabel(a.label)) {
        RZ_MsgBox(std::string(kMenuActionsPath) + " line " + std::to_string(a.line) +
                  ": the field script " + g_FieldScriptName + " has no label " + a.label);
        return;
    }
    StartFieldScriptAt(a.label.c_str());
}

void ResetMenuScreenState() {
    g_MenuScreen = MenuScreenState();
    ForgetWeaponNames();
}
