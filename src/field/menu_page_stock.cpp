// The pages of what the party carries: items, used on a member, and weapons, put on a member.
#include <cstdio>
#include <map>

#include "base/sjis.h"
#include "field/menu_page_rules.h"
#include "world/data_tables.h"
#include "world/inventory.h"
#include "world/party.h"
#include "world/weapon_data.h"

namespace {

std::map<int32_t, std::string> g_WeaponNames;

std::string CountText(int32_t count) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", int(count));
    return SJIS("×") + text;
}

// The lines of the four places' members (fighters first), the value beside each given.
template <typename Value>
void MemberLines(MenuView& v, Value value) {
    for (int32_t member : PartyPlaces()) {
        if (member < 0) continue;
        MenuViewLine line = Line(MemberName(member), value(member), member);
        line.grey = g_PartyMembers[member].hp == 0;
        v.lines.push_back(line);
    }
}

void CursorOnMember(const MenuScreenState& m, MenuView& v) {
    v.cursor = FitCursor(v, m.cursor);
    if (v.cursor >= 0) v.member = v.lines[size_t(v.cursor)].id;
}

// Items: step 0 the goods held with their help texts; step 1 the member to use one on.
void ItemsView(const MenuScreenState& m, MenuView& v) {
    if (m.step == 0) {
        for (const auto& [record, count] : g_GoodsStock.Held()) {
            if (record >= Goods.Count()) continue;
            MenuViewLine line = Line(Goods[record].name, CountText(count), record);
            line.help = Goods[record].description;
            line.grey = Goods[record].third == 0 && Goods[record].fourth == 0;
            v.lines.push_back(line);
        }
        if (v.lines.empty()) v.lines.push_back(Heading(SJIS("なにも　もっていない")));
        v.cursor = FitCursor(v, m.cursor);
        return;
    }
    MemberLines(v, PointsText);
    CursorOnMember(m, v);
    v.help = std::string(Goods[m.chosen].name) + SJIS(" を　だれに　つかいますか？");
}

void ItemsChoose(MenuScreenState& m, const MenuViewLine& line) {
    if (m.step == 0) {
        const GoodsRecord& g = Goods[line.id];
        if (g.third == 0 && g.fourth == 0)
            m.message = std::string(g.name) + SJIS(" は　ここでは　つかえない。");
        else
            StepOn(m, line.id);
        return;
    }
    const std::string item = Goods[m.chosen].name;
    const std::string who = MemberName(line.id);
    switch (UseGoods(m.chosen, g_PartyMembers[line.id])) {
        case UseResult::kUsed:
            m.message = who + SJIS(" に　") + item + SJIS(" を　つかった。");
            break;
        case UseResult::kNothingToDo:
            m.message = who + SJIS(" には　いま　ききめが　ない。");
            break;
        case UseResult::kNothingHere:
        case UseResult::kNoneHeld:
            m.message = item + SJIS(" は　つかえない。");
            break;
    }
    if (g_GoodsStock.Count(m.chosen) == 0) {
        const std::string said = m.message;
        StepBack(m);
        m.message = said;
    }
}

// Equipment: step 0 the members with their weapons; step 1 the weapons the party owns.
void EquipmentView(const MenuScreenState& m, MenuView& v) {
    if (m.step == 0) {
        MemberLines(v, [](int32_t member) { return WeaponName(g_PartyMembers[member].weapon); });
        CursorOnMember(m, v);
        v.help = SJIS("だれの　ぶきを　かえますか？");
        return;
    }
    const FighterRecord& who = g_PartyMembers[m.chosen];
    v.member = m.chosen;
    v.lines.push_back(Heading(SJIS("いまの　ぶき　") + WeaponName(who.weapon)));
    for (const auto& [weapon, count] : g_WeaponStock.Held()) {
        MenuViewLine line = Line(WeaponName(weapon), CountText(count), weapon);
        line.help = MemberName(m.chosen) + SJIS("：") + WeaponName(who.weapon) + SJIS(" → ") +
                    WeaponName(weapon);
        v.lines.push_back(line);
    }
    if (v.lines.size() == 1) v.lines.push_back(Heading(SJIS("もっている　ぶきが　ない")));
    v.cursor = FitCursor(v, m.cursor);
    v.help = SJIS("どの　ぶきに　しますか？");
}

void EquipmentChoose(MenuScreenState& m, const MenuViewLine& line) {
    if (m.step == 0) {
        StepOn(m, line.id);
        return;
    }
    FighterRecord& who = g_PartyMembers[m.chosen];
    const std::string before = WeaponName(who.weapon);
    const std::string name = MemberName(m.chosen);
    switch (EquipWeapon(who, line.id)) {
        case EquipResult::kEquipped:
            StepBack(m);
            m.message = name + SJIS(" は　") + WeaponName(line.id) + SJIS(" を　そうびした。");
            break;
        case EquipResult::kSame:
            m.message = name + SJIS(" は　もう　") + before + SJIS(" を　もっている。");
            break;
        case EquipResult::kBagFull:
            m.message = before + SJIS(" を　しまう　ばしょが　ない。");
            break;
        case EquipResult::kNotOwned:
            break;
    }
}

}  // namespace

const MenuPageRules kItemsPage{ItemsView, ItemsChoose, nullptr};
const MenuPageRules kEquipmentPage{EquipmentView, EquipmentChoose, nullptr};

void ForgetWeaponNames() {
    g_WeaponNames.clear();
}

const std::string& WeaponName(int32_t number) {
    auto it = g_WeaponNames.find(number);
    if (it == g_WeaponNames.end())
        it = g_WeaponNames.emplace(number, WeaponShownName(number)).first;
    return it->second;
}
