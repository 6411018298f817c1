// Plays the demo adventure from its first frame with the recorded key timeline of
// tests/playthrough/adventure.keys, checks the game state at each milestone of the journey and
// compares the picture there with its reference (tests/playthrough/ref/<milestone>.png, half
// size). GH02_UPDATE_REFERENCES=1 writes the references anew from this run; a picture that
// differs leaves the actual one and a difference picture in <build>/playthrough/.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "e2e_run.h"
#include "reference_picture.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const fs::path kPlaythrough = fs::path(GH02_SOURCE_DIR) / "tests" / "playthrough";

struct Milestone {
    const char* name;
    int frame;
    std::function<void(const json&)> check;
};

const json& Script(const json& j) {
    return j["GameState"]["fieldScript"];
}
std::string WindowText(const json& j, int w) {
    return j["g_TalkWindows"][w]["text"].get<std::string>();
}
bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}
// The length of a text in Shift-JIS bytes, from its UTF-8 form in the dump (every character
// the demo uses beyond ASCII takes two bytes there).
int SjisLength(const std::string& utf8) {
    int n = 0;
    for (unsigned char c : utf8) {
        if (c < 0x80)
            n += 1;
        else if (c >= 0xC0)
            n += 2;  // a lead byte; continuation bytes add nothing
    }
    return n;
}

// A line waits for the player: the script has paused and talk window 0 stays open with its
// whole text typed out (two bytes a step).
void ExpectWaitingLine(const json& j, const char* part) {
    EXPECT_EQ(Script(j)["running"], 0);
    const json& w = j["g_TalkWindows"][0];
    EXPECT_EQ(w["open"], 65535);
    EXPECT_TRUE(Has(WindowText(j, 0), part)) << WindowText(j, 0);
    EXPECT_GE(w["shown"].get<int>() * 2, SjisLength(WindowText(j, 0))) << "still typing";
}
void ExpectField(const json& j, const char* field, const char* script) {
    ExpectFields(
        j,
        {{"/g_FrameProc", "FieldFrame"}, {"/g_FieldName", field}, {"/g_FieldScriptName", script}});
}
void ExpectChoice(const json& j, const char* first, const char* second) {
    const json& list = j["GameState"]["messageWindow"];
    ExpectFields(
        list,
        {{"/open", 1}, {"/entries/0/text", first}, {"/entries/1/text", second}, {"/cursor", 0}});
    EXPECT_EQ(list["entries"].size(), 2u) << list.dump();
}
// Character n of the dump (which lists the slots in use), or null.
json Character(const json& j, int n) {
    for (const json& c : j["g_Characters"])
        if (c["index"] == n) return c;
    return json();
}
float Distance(const json& j, int a, int b) {
    const json pa = Character(j, a)["position"];
    const json pb = Character(j, b)["position"];
    return std::hypot(pa[0].get<float>() - pb[0].get<float>(),
                      pa[2].get<float>() - pb[2].get<float>());
}

// The journey from the opening to the forest, its battles and the master, and home again.
const std::vector<Milestone>& Milestones() {
    static const std::vector<Milestone> list = {
        // The title, before New game is chosen: with no save, the cursor on New game and
        // Continue grey.
        {"title", 5,
         [](const json& j) {
             ExpectFields(j, {{"/g_FrameProc", "TitleFrame"},
                              {"/titleMenu/cursor", 0},
                              {"/titleMenu/entries/1/choosable", false},
                              {"/titleMenu/entries/0/text", "はじめから"},
                              {"/playTimeMs", 0}});
         }},
        {"opening", 196,
         [](const json& j) {
             ExpectField(j, "baske0", "test");
             ExpectWaitingLine(j, "ここが　バスケの村か");
             EXPECT_NE(j["camera"]["handler"], "NullFrameHook");  // the fly-in goes on
             EXPECT_EQ(Character(j, 7)["fileName"], "signpost");
         }},
        {"child", 366,
         [](const json& j) {
             ExpectWaitingLine(j, "コドモ「あっ");
             EXPECT_LT(Distance(j, 0, 3), 400.0f);  // she has run up to Harlo
         }},
        {"elder_choice", 800,
         [](const json& j) {
             ExpectWaitingLine(j, "村長「主を");
             ExpectChoice(j, "まかせてください", "すこし　考えます");
         }},
        {"elder_yes", 840,
         [](const json& j) {
             ExpectWaitingLine(j, "たのもしい");
             EXPECT_EQ(Script(j)["iv"][0], 0);  // the first answer was taken
         }},
        {"child_talk", 1205, [](const json& j) { ExpectWaitingLine(j, "オオカミ"); }},
        {"bridge_choice", 1700,
         [](const json& j) {
             ExpectWaitingLine(j, "森へ　行く？");
             ExpectChoice(j, "行く", "やめる");
         }},
        {"forest", 1800,
         [](const json& j) {
             ExpectField(j, "mori", "mori");
             ExpectWaitingLine(j, "うす暗い　森だ");
             EXPECT_EQ(Character(j, 0)["position"][0], 16896.0);
             EXPECT_EQ(Character(j, 0)["position"][2], -3584.0);
             for (int villager = 1; villager <= 9; ++villager) {
                 const json c = Character(j, villager);
                 EXPECT_TRUE(c.is_null() || c["active"] == 0) << villager;
             }
             EXPECT_EQ(Character(j, 10)["fileName"], "nushi");
             ExpectFields(j, {{"/g_ResumeScriptAfterFade", 1}, {"/g_EncounterRate", 6}});
         }},
        {"battle_menu", 2390,
         [](const json& j) {
             // One goblin in slot 3, nobody else.
             const json& b = j["battle"];
             ASSERT_EQ(b["fighters"].size(), 8u);
             ExpectFields(b, {{"/phase", "CommandSelect"},
                              {"/fighters/3/alive", 1},
                              {"/fighters/3/maxHp", 60}});
             for (int e = 4; e < 8; ++e) EXPECT_EQ(b["fighters"][e]["alive"], 0) << e;
         }},
        {"battle_hit", 2495,
         [](const json& j) {
             const json& goblin = j["battle"]["fighters"][3];
             EXPECT_LT(goblin["hp"].get<int>(), 60);
             EXPECT_GT(goblin["hp"].get<int>(), 0);
         }},
        {"battle_won", 2710,
         [](const json& j) {
             // The WIN scene.
             ExpectFields(j["battle"], {{"/fighters/3/alive", 0}, {"/phase", "EventRunning"}});
         }},
        {"after_battle", 2870,
         [](const json& j) {
             ExpectField(j, "mori", "mori");
             // The script ran on after the battle: at IDLE again, with the encounter rate set
             // anew and the enemies of the next battle chosen.
             ExpectFields(j, {{"/GameState/fieldScript/running", 0},
                              {"/g_EncounterRate", 6},
                              {"/g_FieldInputEnabled", 1}});
             EXPECT_NE(j["g_EnemySet"], json::array({0, -1, -1, -1, -1}));
         }},
        // Two more random battles on the way up; at the master's lair Gordo catches up, the
        // fourth member, who has stayed back so far, and hands over what he brought.
        {"gordo", 5755,
         [](const json& j) {
             ExpectField(j, "mori", "mori");
             ExpectWaitingLine(j, "はがねのつるぎ");
             EXPECT_EQ(Character(j, 11)["fileName"], "gordo");
             EXPECT_LT(Distance(j, 0, 11), 400.0f);  // he has walked up beside Harlo
             // Mina, Harlo and Rikku fight; Mina is hurt by the battles.
             ExpectFields(j,
                          {{"/g_PartyMembers/2/name", "ゴルド"},
                           {"/g_PartyOrder", json({1, 0, 3})},
                           {"/g_PartyMembers/1/hp", 69},
                           {"/inventory/weapons", json::parse(R"([{"weapon": 4, "count": 1}])")}});
             EXPECT_EQ(Goods(j), json({{"やくそう", 3}, {"まほうのみず", 2}, {"おまもり", 1}}));
         }},
        // The menu screen, every page of it: a herb on Mina, her techniques, the steel sword on
        // Harlo, Gordo's strength, and Gordo in Rikku's place.
        {"forest_items", 5900,
         [](const json& j) {
             ExpectFields(j, {{"/menuPage/page", "items"},
                              {"/menuPage/help", "ミナ に　やくそう を　つかった。"},
                              {"/g_PartyMembers/1/hp", 99}});  // +30
             EXPECT_EQ(Goods(j)["やくそう"], 2);
         }},
        {"forest_techniques", 5990,
         [](const json& j) {
             ExpectFields(Page(j), {{"/page", "techniques"},
                                    {"/member", 1},
                                    {"/lines/0/text", "まほう"},
                                    {"/lines/1/text", "ヒール"},
                                    {"/lines/2/text", "ファイア"},
                                    {"/help", "仲間ひとりの　傷を　いやす"}});
         }},
        {"forest_equipment", 6090,
         [](const json& j) {
             ExpectFields(Page(j), {{"/page", "equipment"},
                                    {"/member", 0},
                                    {"/lines/0/text", "いまの　ぶき　どうのつるぎ"},
                                    {"/lines/1/text", "はがねのつるぎ"},
                                    {"/help", "ハーロ：どうのつるぎ → はがねのつるぎ"}});
         }},
        {"forest_strength", 6190,
         [](const json& j) {
             // Harlo holds the steel sword now; his old one is in the bag.
             ExpectFields(j,
                          {{"/menuPage/page", "strength"},
                           {"/menuPage/member", 2},
                           {"/menuPage/lines/11/value", "てつのおの"},
                           {"/g_PartyMembers/0/weapon", 4},
                           {"/inventory/weapons", json::parse(R"([{"weapon": 1, "count": 1}])")}});
         }},
        {"forest_order", 6350,
         [](const json& j) {
             ExpectFields(j, {{"/menuPage/page", "order"},
                              {"/menuPage/help", "ならびを　かえた。"},
                              {"/g_PartyOrder", json({1, 0, 2})},
                              {"/menuPage/lines/2/text", "ゴルド"},
                              {"/menuPage/lines/3/text", "リック"}});
             EXPECT_EQ(Character(j, 0)["fileName"], "harlo");  // Mina still comes first
         }},
        {"boss_words", 6479,
         [](const json& j) {
             ExpectField(j, "mori", "mori");
             ExpectWaitingLine(j, "人間が　何の用だ");
             EXPECT_EQ(Character(j, 10)["fileName"], "nushi");
             EXPECT_LT(Distance(j, 0, 10), 3000.0f);
         }},
        {"boss_battle", 6825,
         [](const json& j) {
             // Harlo chooses first; the order set on the menu screen, and Harlo with the steel
             // sword's trail.
             const json& b = j["battle"];
             ASSERT_EQ(b["fighters"].size(), 8u);
             ExpectFields(j, {{"/battle/phase", "CommandSelect"},
                              {"/battle/actor", 1},
                              {"/g_BattleMusicName", "boss"},
                              {"/battle/fighters/0/name", "ミナ"},
                              {"/battle/fighters/1/name", "ハーロ"},
                              {"/battle/fighters/2/name", "ゴルド"},
                              {"/battle/fighters/1/trailColour", 0xDCA0C8FFu}});
             // The master in the middle, a hobgoblin on either side, nobody else.
             const int maxHp[8] = {100, 140, 170, 90, 0, 260, 0, 90};
             for (int e = 3; e < 8; ++e) {
                 EXPECT_EQ(b["fighters"][e]["alive"], maxHp[e] ? 1 : 0) << e;
                 if (maxHp[e]) {
                     EXPECT_EQ(b["fighters"][e]["hp"], maxHp[e]) << e;
                 }
             }
         }},
        {"boss_fire", 7170,
         [](const json& j) {
             // ファイア, a technique from a list; the master cut by Harlo, not burnt yet.
             ExpectFields(j["battle"], {{"/phase", "ActionRunning"},
                                        {"/actor", 0},
                                        {"/actionKind", 1},
                                        {"/fighters/0/action", 4},
                                        {"/fighters/3/hp", 58}});
         }},
        {"boss_won", 9043,
         [](const json& j) {
             const json& b = j["battle"];
             ExpectFields(b, {{"/phase", "EventRunning"}, {"/outcome", 1}});  // the WIN scene
             for (int e = 3; e < 8; ++e) EXPECT_EQ(b["fighters"][e]["alive"], 0) << e;
             for (int f = 0; f < 3; ++f) EXPECT_EQ(b["fighters"][f]["alive"], 1) << f;
         }},
        // Back in the forest the script goes on behind the battle: the master is gone.
        {"master_fled", 9184,
         [](const json& j) {
             ExpectField(j, "mori", "mori");
             ExpectWaitingLine(j, "にげていった");
             const json master = Character(j, 10);
             EXPECT_TRUE(master.is_null() || master["active"] == 0);
         }},
        {"home", 9488,
         [](const json& j) {
             ExpectField(j, "baske0", "test");
             ExpectWaitingLine(j, "森の主を　追いはらって");
             // Entered after the master.
             ExpectFields(j, {{"/GameState/fieldScript/iv/3", 2}, {"/g_EncounterRate", 0}});
             EXPECT_EQ(Character(j, 0)["position"][0], 16896.0);
             EXPECT_EQ(Character(j, 0)["position"][2], -18944.0);
         }},
        {"the_end", 9643,
         [](const json& j) {
             ExpectWaitingLine(j, "元気になった");
             EXPECT_TRUE(Has(WindowText(j, 1), "おしまい")) << WindowText(j, 1);
             for (const json& m : j["g_PartyMembers"]) EXPECT_EQ(m["hp"], m["maxHp"]) << m;
         }},
        {"village_free", 9703,
         [](const json& j) {
             ExpectField(j, "baske0", "test");
             ExpectFields(j, {{"/GameState/fieldScript/running", 0},
                              {"/GameState/fieldScript/iv/3", 1},
                              {"/g_FieldInputEnabled", 1}});
             for (int w = 0; w < 3; ++w) EXPECT_NE(j["g_TalkWindows"][w]["open"], 65535) << w;
         }},
    };
    return list;
}

// One run of the whole journey (only the milestones' frames are drawn), then every milestone
// in turn.
TEST(Playthrough, AdventureMilestones) {
    SKIP_WITHOUT_DEMO_DATA();
    int last = 0;
    for (const Milestone& m : Milestones()) last = std::max(last, m.frame);
    DemoRun run("playthrough", ReadFileBytes(kPlaythrough / "adventure.keys"), last + 1);
    for (const Milestone& m : Milestones()) {
        run.DumpAt({m.frame});
        run.ShotAt({m.frame});
    }
    EXPECT_EQ(run.Run(), 0) << "the run did not end in order";
    EXPECT_EQ(run.Output(), "") << "a whole play-through leaves standard output empty";
    // The demo's data is whole: nothing is named on the diagnostics channel (unused entries
    // included) but the end of the run.
    EXPECT_EQ(run.Errors(),
              "gh02: headless run ended after " + std::to_string(last + 1) + " frames\n");
    for (const Milestone& m : Milestones()) {
        SCOPED_TRACE(::testing::Message() << "milestone " << m.name << " at frame " << m.frame);
        const json j = run.State(m.frame);
        if (j.is_null()) {
            ADD_FAILURE() << "no dump";
            continue;
        }
        EXPECT_EQ(j["g_FadeAlpha"], 0);
        m.check(j);
        // The only box the journey may show is the rok prop's question about its edges.
        for (const json& box : j["messageBoxes"])
            EXPECT_EQ(box["text"], "辺データを読込みますか？") << box.dump();
        ExpectLikeReference(run.Shot(m.frame), m.name);
    }
}

}  // namespace
