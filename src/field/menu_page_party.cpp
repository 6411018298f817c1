// The pages of the party itself: the fighters' techniques, one member's strength, and the order
// in which the members fight.
#include <cstdio>
#include <cstring>

#include "base/sjis.h"
#include "field/menu_page_rules.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/party.h"

namespace {

// The names of the eleven stats, as the strength page lists them.
constexpr const char* kStatNames[kFighterStatCount] = {
    "レベル",     "ちから（もと）", "まもり（もと）", "のうりょく３", "のうりょく４", "すばやさ",
    "めいちゅう", "かいひ",         "のうりょく８",   "こうげき",     "ぼうぎょ",
};
// How the places are named on the order page.
constexpr const char* kPlaceNames[kPartyPlaceCount] = {"１ばんめ", "２ばんめ", "３ばんめ",
                                                       "ひかえ"};
// Techniques a battle's technique menu offers of each category: 0 to 4.
constexpr int kTechniquesOffered = 5;

std::string Number(const char* format, int value) {
    char text[24];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The next of `count` positions from `at` in the direction for which `usable` holds.
template <typename Usable>
int32_t NextUsable(int32_t at, int32_t direction, int32_t count, Usable usable) {
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t n = ((at + direction * i) % count + count) % count;
        if (usable(n)) return n;
    }
    return at;
}

// Techniques: the fighter in slot m.member (0-2); a heading for each command that opens a
// technique menu, then the techniques of its category the fighter knows.
void TechniquesView(const MenuScreenState& m, MenuView& v) {
    const FighterRecord* f = g_Fighters[m.member];
    if (!f) return;
    v.member = g_PartyOrder[m.member];
    bool listed[kTechniqueCategoryCount] = {};
    for (uint8_t c : f->commands) {
        const TechniqueRecord& command = TechniqueTables[0][c];
        if (!(command.flags & kTechniqueOpensList) || c >= kTechniqueCategoryCount || listed[c])
            continue;
        listed[c] = true;
        v.lines.push_back(Heading(command.name));
        const size_t before = v.lines.size();
        for (int t = 0; t < kTechniquesOffered; ++t) {
            if (!f->KnowsTechnique(c, t)) continue;
            const TechniqueRecord& r = TechniqueTableAt(c)[t];
            MenuViewLine line = Line(r.name, Number("%3d", r.number), t);
            line.help = r.description;
            v.lines.push_back(line);
        }
        if (v.lines.size() == before) v.lines.push_back(Heading(SJIS("　－")));
    }
    if (v.lines.empty()) v.lines.push_back(Heading(SJIS("おぼえた　わざは　ない")));
    v.cursor = FitCursor(v, m.cursor);
    v.help = std::string(f->name) + SJIS(" の　わざ（←→で　なかまを　かえる）");
}

void TechniquesSide(MenuScreenState& m, int32_t direction) {
    m.member = NextUsable(m.member, direction, kPartyFighterCount,
                          [](int32_t slot) { return g_Fighters[slot] != nullptr; });
    m.cursor = 0;
}

// Strength: the member of place m.member, every stat with its name and the weapon.
void StrengthView(const MenuScreenState& m, MenuView& v) {
    const int32_t member = PartyPlaces()[size_t(m.member)];
    if (member < 0) return;
    v.member = member;
    const FighterRecord& f = g_PartyMembers[member];
    for (int s = 0; s < kFighterStatCount; ++s)
        v.lines.push_back(Line(ToSjis(kStatNames[s]), Number("%3d", f.stats[s])));
    v.lines.push_back(Line(SJIS("ぶき"), WeaponName(f.weapon)));
    v.help = std::string(f.name) + SJIS(" の　つよさ（←→で　なかまを　かえる）");
}

void StrengthSide(MenuScreenState& m, int32_t direction) {
    m.member = NextUsable(m.member, direction, kPartyPlaceCount,
                          [](int32_t place) { return PartyPlaces()[size_t(place)] >= 0; });
}

// Order: the four places; the first choice marks a place, the second swaps the two.
void OrderView(const MenuScreenState& m, MenuView& v) {
    const auto places = PartyPlaces();
    for (int32_t p = 0; p < kPartyPlaceCount; ++p) {
        MenuViewLine line = Line(MemberName(places[size_t(p)]), ToSjis(kPlaceNames[p]), p);
        line.grey = places[size_t(p)] >= 0 && g_PartyMembers[places[size_t(p)]].hp == 0;
        line.marked = m.step == 1 && p == m.chosen;
        v.lines.push_back(line);
    }
    v.cursor = FitCursor(v, m.cursor);
    v.member = places[size_t(v.cursor)];
    v.help = m.step == 0 ? SJIS("だれを　うごかしますか？") : SJIS("だれと　いれかえますか？");
}

// The leader on the field is the first fighter: when another member comes first, character 0
// becomes that member's character where the leader stood.
void LeadWithFirstFighter(int32_t before) {
    const int32_t now = g_PartyOrder[0];
    if (now == before || now < 0 || now >= kPartyMemberCount || !g_FaceNames[now][0]) return;
    Character& leader = g_Characters[0];
    leader.LoadCharacter(g_FaceNames[now]);
    leader.KeepMotionsWithPrefix("fld_");
    leader.SetMotion(kMotionStand, 1);
}

void OrderChoose(MenuScreenState& m, const MenuViewLine& line) {
    if (m.step == 0) {
        StepOn(m, line.id);
        m.cursor = line.id;
        return;
    }
    const int32_t first = m.chosen;
    StepBack(m);
    m.cursor = line.id;
    if (first == line.id) return;
    const int32_t leader = g_PartyOrder[0];
    SwapPartyPlaces(first, line.id);
    LeadWithFirstFighter(leader);
    m.message = SJIS("ならびを　かえた。");
}

}  // namespace

const MenuPageRules kTechniquesPage{TechniquesView, nullptr, TechniquesSide};
const MenuPageRules kStrengthPage{StrengthView, nullptr, StrengthSide};
const MenuPageRules kOrderPage{OrderView, OrderChoose, nullptr};

std::string MemberName(int32_t member) {
    if (member < 0 || member >= kPartyMemberCount) return SJIS("－");
    const FighterRecord& f = g_PartyMembers[member];
    return std::string(f.name, strnlen(f.name, sizeof f.name));
}

std::string PointsText(int32_t member) {
    const FighterRecord& f = g_PartyMembers[member];
    char text[48];
    std::snprintf(text, sizeof text, "HP%4d/%4d MP%4d/%4d", f.hp, f.maxHp, f.mp, f.maxMp);
    return text;
}
