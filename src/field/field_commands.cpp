// The field script's "f" commands.
#include "field/field_commands.h"

#include <cstring>
#include <string>

#include "base/keys.h"
#include "base/paths.h"
#include "field/field_move.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/save_screen.h"
#include "script/command_table.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/encounters.h"
#include "world/inventory.h"
#include "world/party.h"
#include "world/scene_view.h"

namespace {

TalkWindow* WindowAt(const QScrOrg& s, int32_t w) {
    return CheckIndex(s, w, kTalkWindowCount, "talk window") ? &g_TalkWindows[w] : nullptr;
}

// The field's record; a field script that runs without one (a test, a broken start) is told so.
GameState* Field(const QScrOrg& s) {
    if (!g_pGameState) ScriptError(s, "no field for the field command");
    return g_pGameState;
}

// f0: the text in str, closed by "\e", typed out anew in window w; laid out unless lay is '0'.
void ShowText(QScrOrg& s) {
    const int32_t w = s.gInt();
    const char lay = ReadOp(s);
    TalkWindow* window = WindowAt(s, w);
    if (!window) return;
    const size_t used = strnlen(s.str, sizeof s.str);
    // With no room for both escape bytes the text stays as it is: half an escape would show.
    if (used + 2 < sizeof s.str) {
        s.str[used] = '\\';
        s.str[used + 1] = 'e';
        s.str[used + 2] = '\0';
    }
    SetTalkText(*window, std::string_view(s.str, strnlen(s.str, sizeof s.str)), kTalkStaysOpen);
    if (lay != '0') LayoutTalkWindow(*window);
}

// f1: the script named in str follows after the fade that the field runner draws.
void ChangeScript(QScrOrg& s) {
    s.gStr(s.str);
    g_FieldInputEnabled = 0;
    s.aux = 1;
    s.stepping = 0;
}

void LoadField(QScrOrg& s) {
    s.gStr(s.str);
    GameState* gs = Field(s);
    if (!gs) return;
    if (!gs->fieldInfo) gs->fieldInfo = std::make_unique<QFldInfo>();
    // The name is copied first: the load keeps it in g_FieldName.
    char name[QScrOrg::kStrSize];
    std::memcpy(name, s.str, sizeof name);
    name[sizeof name - 1] = '\0';
    gs->fieldInfo->load(name, &gs->groundLighting);
}

void ChoiceList(QScrOrg& s) {
    const int32_t what = s.gInt();
    const int32_t a = s.gInt();
    const int32_t b = s.gInt();
    if (what < 0 || what > int32_t(ChoiceListOp::Clear)) return;
    GameState* gs = Field(s);
    if (!gs) return;
    MenuList& list = gs->messageWindow;
    switch (ChoiceListOp(what)) {
        case ChoiceListOp::Open:
            list.open = a;
            g_ActionTimer = kActionHoldBack;
            // The arrow that walked into the event does not move the new list's cursor.
            if (a != 0) HoldArrowsOver();
            break;
        case ChoiceListOp::Place:
            list.x = a;
            list.y = b;
            break;
        case ChoiceListOp::AtCharacter:
            if (CharacterAt(s, a)) {
                const ScreenPoint p = ProjectCharacter(a);
                list.x = p.x;
                list.y = p.y;
            }
            break;
        case ChoiceListOp::Layout:
            LayoutList(list, kListEntryCount);
            break;
        case ChoiceListOp::ReadCursor:
            s.iv[0] = list.cursor;
            break;
        case ChoiceListOp::BelowWindow0: {
            const TalkWindow& t = g_TalkWindows[0];
            list.x = int32_t(int64_t(t.x) + 16);
            list.y = int32_t(int64_t(t.y) + t.h);
            break;
        }
        case ChoiceListOp::Clear:
            ClearList(list);
            break;
    }
}

void EndConversation(QScrOrg& s) {
    s.running = 0;
    s.stepping = 0;
    CloseTalkWindows();
    g_ActionTimer = kActionHoldBack;
    // The confirm key that ended it, still down, does not start the conversation again.
    HoldKeyOver(g_KeyShift);
}

void LoadFieldCharacter(QScrOrg& s) {
    int32_t who = s.gInt();
    s.gStr(s.str);
    if (who < 0) who = s.IntRef(who);
    Character* c = CharacterAt(s, who);
    if (!c) return;
    c->LoadCharacter(s.str);
    c->KeepMotionsWithPrefix("fld_");
    c->SetMotion(kMotionStand, 1);
}

// f12: the enemies of fighter slots 3-7 at the next battles; -1 leaves a slot empty.
void SetEnemies(QScrOrg& s) {
    int32_t enemies[kEnemySlotCount];
    for (int32_t& e : enemies) e = s.gInt();
    for (int32_t i = 0; i < kEnemySlotCount; ++i) {
        if (enemies[i] < -1) {
            ScriptError(s, "enemy number below -1");
            continue;
        }
        g_EnemySet[i] = enemies[i];
    }
}

void PutOnGround(QScrOrg& s) {
    if (Character* c = CharacterAt(s, s.gInt()))
        c->position.y = GroundHeight(c->position.x, c->position.z);
}

void TalkWindowAtCharacter(QScrOrg& s) {
    const int32_t w = s.gInt();
    const int32_t who = s.gInt();
    TalkWindow* window = WindowAt(s, w);
    if (window && CharacterAt(s, who)) {
        const ScreenPoint p = ProjectCharacter(who);
        PlaceTalkWindow(*window, p.x, p.y);
    }
}

void TalkWindowLife(QScrOrg& s) {
    const int32_t life = s.gInt();
    if (TalkWindow* window = WindowAt(s, s.gInt())) window->open = life;
}

void StartBattle(QScrOrg& s) {
    s.gInt();  // the number of the battle is not used
    if (Field(s)) StartEncounter();
}

void SetEncounterRate(QScrOrg& s) {
    g_EncounterRate = s.gInt();
}

// f9: an entry of the choice list, the text in str with the value iv[0].
void AddChoice(QScrOrg& s) {
    if (GameState* gs = Field(s))
        AddListEntry(gs->messageWindow, std::string_view(s.str, strnlen(s.str, sizeof s.str)),
                     s.iv[0]);
}

// f13: the party restored.
void RestoreParty(QScrOrg&) {
    for (FighterRecord& member : g_PartyMembers) RestoreStatus(member);
}

// f14: the save screen over the field; the script goes on behind f14 once it has closed.
void SaveScreenCommand(QScrOrg& s) {
    if (!Field(s)) return;
    OpenSaveScreen();
    s.stepping = 0;
}

// An argument of f15-f20, where a negative number is a reference (-1 reads iv[0]).
int32_t Reference(QScrOrg& s) {
    const int32_t v = s.gInt();
    return v < 0 ? s.IntRef(v) : v;
}

bool GoodsRecordAt(const QScrOrg& s, int32_t record) {
    return CheckIndex(s, record, Goods.Count(), "goods record");
}

// A weapon the party can own: a number within the stock whose weapon file exists.
bool WeaponAt(const QScrOrg& s, int32_t number) {
    if (!CheckIndex(s, number, kWeaponKinds, "weapon")) return false;
    const std::string file = "Wea\\w-" + std::to_string(number) + ".qd";
    if (GameFileExists(std::string(GetBasePath()) + file)) return true;
    ScriptError(s, ("no weapon file " + file).c_str());
    return false;
}

// f15 / f16: count more (fewer) of a goods record, f18 / f19 of a weapon; a negative count is
// taken as 0.
void ChangeStock(QScrOrg& s, Stock& stock, bool (*known)(const QScrOrg&, int32_t), int sign) {
    const int32_t number = Reference(s);
    const int32_t count = Reference(s);
    if (known(s, number)) stock.Add(number, int64_t(sign) * (count > 0 ? count : 0));
}

// f17 / f20: iv[0] = how many of it the party holds (0 for a number it cannot hold).
void ReadStock(QScrOrg& s, const Stock& stock, bool (*known)(const QScrOrg&, int32_t)) {
    const int32_t number = Reference(s);
    s.iv[0] = known(s, number) ? stock.Count(number) : 0;
}

constexpr CommandEntry kFieldCommandList[] = {
    {0, "show text", "Ic", ShowText},
    {1, "change script", "S", ChangeScript},
    {2, "load field", "S", LoadField},
    {3, "onto the ground", "I", PutOnGround},
    {4, "talk window at character", "II", TalkWindowAtCharacter},
    {5, "talk window life", "II", TalkWindowLife},
    {6, "start battle", "I", StartBattle},
    {7, "encounter rate", "I", SetEncounterRate},
    {8, "choice list", "III", ChoiceList},
    {9, "add choice", "", AddChoice},
    {10, "end conversation", "", EndConversation},
    {11, "load field character", "IS", LoadFieldCharacter},
    {12, "enemies of the next battles", "IIIII", SetEnemies},
    {13, "restore party", "", RestoreParty},
    {14, "save screen", "", SaveScreenCommand},
    {15, "give goods", "II", [](QScrOrg& s) { ChangeStock(s, g_GoodsStock, GoodsRecordAt, 1); }},
    {16, "take goods", "II", [](QScrOrg& s) { ChangeStock(s, g_GoodsStock, GoodsRecordAt, -1); }},
    {17, "count goods", "I", [](QScrOrg& s) { ReadStock(s, g_GoodsStock, GoodsRecordAt); }},
    {18, "give weapons", "II", [](QScrOrg& s) { ChangeStock(s, g_WeaponStock, WeaponAt, 1); }},
    {19, "take weapons", "II", [](QScrOrg& s) { ChangeStock(s, g_WeaponStock, WeaponAt, -1); }},
    {20, "count weapons", "I", [](QScrOrg& s) { ReadStock(s, g_WeaponStock, WeaponAt); }},
};
static_assert(NumberedInOrder(kFieldCommandList));

}  // namespace

constinit const CommandTable kFieldCommands{'f', kFieldCommandList};
