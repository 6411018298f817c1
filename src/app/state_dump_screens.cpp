// The state dump's screens outside the game's own modes: the title menu and the save screen.
#include "app/quit_box.h"
#include "app/state_dump_sections.h"
#include "app/title_menu.h"
#include "base/sjis.h"
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

void DumpScreensSection(nlohmann::json& j) {
    j["titleMenu"] = DumpTitleMenu();
    j["saveScreen"] = g_SaveScreen.open ? DumpSlotList(g_SaveScreen.list) : nlohmann::json();
    j["quitBox"] = DumpQuitBox();
}
