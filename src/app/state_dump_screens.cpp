// The state dump's screens outside the game's own modes: the title menu, the save screen, the
// menu screen's pages and the quit box.
#include "app/quit_box.h"
#include "app/state_dump_sections.h"
#include "app/title_menu.h"
#include "base/sjis.h"
#include "field/menu_pages.h"
#include "field/save_screen.h"
#include "ui/slot_list.h"

nlohmann::json DumpSlotList(const SlotList& list) {
    static const char* const kStates[] = {"empty", "filled", "unreadable"};
    nlohmann::json slots = nlohmann::json::array();
    for (const SlotListEntry& e : list.slots)
        slots.push_back({{"state", kStates[int(e.look)]},
                         {"heading", ToUtf8(e.heading)},
                         {"note", ToUtf8(e.note)},
                         {"detail", ToUtf8(e.detail)}});
    return {{"cursor", list.cursor}, {"slots", slots}, {"message", ToUtf8(list.message)}};
}

nlohmann::json DumpMenuView(const MenuView& v) {
    nlohmann::json lines = nlohmann::json::array();
    for (const MenuViewLine& l : v.lines)
        lines.push_back({{"text", ToUtf8(l.text)},
                         {"value", ToUtf8(l.value)},
                         {"heading", l.heading},
                         {"grey", l.grey},
                         {"marked", l.marked}});
    return {{"title", ToUtf8(v.title)},
            {"help", ToUtf8(v.help)},
            {"member", v.member},
            {"cursor", v.cursor},
            {"lines", lines}};
}

namespace {

nlohmann::json DumpMenuPage() {
    const MenuScreenState& m = g_MenuScreen;
    if (m.page == MenuPage::kMain) return nullptr;
    nlohmann::json j = DumpMenuView(BuildMenuView());
    j["page"] = MenuPageName(m.page);
    j["step"] = m.step;
    return j;
}

}  // namespace

void DumpScreensSection(nlohmann::json& j) {
    j["titleMenu"] = DumpTitleMenu();
    j["saveScreen"] = g_SaveScreen.open ? DumpSlotList(g_SaveScreen.list) : nlohmann::json();
    j["menuPage"] = DumpMenuPage();
    j["quitBox"] = DumpQuitBox();
}
