// The menu screen's entries on the game-flow data set, whose Datas\MnuActions.qd gives them
// their pages: a poison and a herb used on Harlo, the smoke ball refused outside battle, Mina's
// and Harlo's techniques and strength, the steel sword put on Mina, Rikku moved to the front
// (and so to the field's lead), and the entry that runs the field script's GIFT label. The game
// saved afterwards comes back with what the party carries, holds and how it stands. Each page is
// compared with its reference picture (tests/playthrough/ref/menu_<page>.png). Without the file,
// Shift on an entry does nothing, as it always did.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"
#include "reference_picture.h"

using nlohmann::json;

namespace {

// The frames the key timeline below is built around.
constexpr int kPoisonChosen = 140;  // items: the poison, the members to use it on
constexpr int kPoisoned = 180;      // used on Harlo: 20 points fewer, no poison left
constexpr int kSmokeRefused = 200;  // the smoke ball does nothing outside battle
constexpr int kHealed = 280;        // a herb on Harlo: back to his maximum, not past it
constexpr int kTechniques = 370;    // Mina's techniques
constexpr int kTechniquesRight = 390;
constexpr int kSwordPreview = 475;  // Mina's weapon and the one it would change to
constexpr int kSwordOn = 495;
constexpr int kStrength = 560;  // Mina's stats
constexpr int kStrengthRight = 580;
constexpr int kOrderMarked = 705;  // Mina marked, the cursor on Rikku
constexpr int kOrderSwapped = 725;
constexpr int kBackOnEntries = 745;
constexpr int kGift = 820;  // the menu closed and the field script ran GIFT
constexpr int kSaved = 840;
constexpr int kLastFrame = 841;

const Press kPresses[] = {
    {30, "shift"},
    {50, "return", 3},
    // Items: down to the poison, on Harlo; Shift on the smoke ball; up to the herbs, on Harlo.
    {80, "shift", 6},
    {105, "down"},
    {125, "shift"},
    {145, "down"},
    {165, "shift"},
    {185, "shift"},
    {205, "up"},
    {225, "shift"},
    {245, "down"},
    {265, "shift"},
    {285, "ctrl"},
    {305, "ctrl"},
    // Techniques, then the next fighter.
    {325, "down"},
    {345, "shift", 6},
    {375, "right"},
    {395, "ctrl"},
    // Equipment: Mina, then the steel sword.
    {415, "down"},
    {435, "shift", 6},
    {460, "shift"},
    {480, "shift"},
    {500, "ctrl"},
    // Strength, then the next member.
    {520, "down"},
    {540, "shift", 6},
    {565, "right"},
    {585, "ctrl"},
    // Order: the first place with the third.
    {605, "down"},
    {625, "shift", 6},
    {650, "shift"},
    {670, "down"},
    {690, "down"},
    {710, "shift"},
    {730, "ctrl"},
    // The entry that runs the field script's GIFT label.
    {750, "down"},
    {770, "shift", 6},
};

const json& Member(const json& j, int m) {
    return j["g_PartyMembers"][m];
}

void CheckItems(const GameRun& run) {
    const json chosen = run.State(kPoisonChosen);
    EXPECT_EQ(Page(chosen)["page"], "items");
    EXPECT_EQ(Page(chosen)["title"], "アイテム");
    EXPECT_EQ(Page(chosen)["step"], 1);
    EXPECT_EQ(Page(chosen)["help"], "にがいどく を　だれに　つかいますか？");
    EXPECT_EQ(Line(chosen, 0), "Mina");  // the places' order: the fighters, then who stays back
    EXPECT_EQ(Line(chosen, 3), "Gordo");

    const json poisoned = run.State(kPoisoned);
    EXPECT_EQ(Member(poisoned, 0)["hp"], 100);
    EXPECT_EQ(Goods(poisoned), json({{"やくそう", 3}, {"けむりだま", 1}}));
    EXPECT_EQ(Page(poisoned)["step"], 0);  // none left to use
    EXPECT_EQ(Page(poisoned)["help"], "Harlo に　にがいどく を　つかった。");
    EXPECT_EQ(Page(run.State(kSmokeRefused))["help"], "けむりだま は　ここでは　つかえない。");

    const json healed = run.State(kHealed);
    EXPECT_EQ(Member(healed, 0)["hp"], 120);  // +30, no more than the maximum
    EXPECT_EQ(Goods(healed), json({{"やくそう", 2}, {"けむりだま", 1}}));
    EXPECT_EQ(Page(healed)["member"], 0);
    ExpectLikeReference(run.Shot(kHealed), "menu_items");
}

void CheckTechniquesAndStrength(const GameRun& run) {
    const json mina = run.State(kTechniques);
    EXPECT_EQ(Page(mina)["page"], "techniques");
    EXPECT_EQ(Page(mina)["member"], 1);
    // Her commands わざ and まほう open technique menus; she knows two of わざ and none of まほう.
    EXPECT_EQ(Page(mina)["lines"][0]["heading"], true);
    EXPECT_EQ(Line(mina, 0), "わざ");
    EXPECT_EQ(Line(mina, 1), "きりおとし");
    EXPECT_EQ(Line(mina, 2), "ヒール");
    EXPECT_EQ(Line(mina, 3), "まほう");
    EXPECT_EQ(Page(mina)["cursor"], 1);
    EXPECT_EQ(Page(mina)["help"], "強い一撃");
    ExpectLikeReference(run.Shot(kTechniques), "menu_techniques");
    EXPECT_EQ(Page(run.State(kTechniquesRight))["member"], 0);

    const json strength = run.State(kStrength);
    EXPECT_EQ(Page(strength)["page"], "strength");
    EXPECT_EQ(Page(strength)["member"], 1);
    ASSERT_EQ(Page(strength)["lines"].size(), 12u);  // the eleven stats and the weapon
    EXPECT_EQ(Line(strength, 5), "すばやさ");
    EXPECT_EQ(Page(strength)["lines"][5]["value"], " 30");
    EXPECT_EQ(Page(strength)["lines"][11]["value"], "はがねのけん");
    ExpectLikeReference(run.Shot(kStrength), "menu_strength");
    EXPECT_EQ(Page(run.State(kStrengthRight))["member"], 0);
}

void CheckEquipment(const GameRun& run) {
    const json preview = run.State(kSwordPreview);
    EXPECT_EQ(Page(preview)["page"], "equipment");
    EXPECT_EQ(Page(preview)["member"], 1);
    EXPECT_EQ(Line(preview, 0), "いまの　ぶき　どうのけん");
    EXPECT_EQ(Line(preview, 1), "はがねのけん");
    EXPECT_EQ(Page(preview)["help"], "Mina：どうのけん → はがねのけん");
    ExpectLikeReference(run.Shot(kSwordPreview), "menu_equipment");

    const json on = run.State(kSwordOn);
    EXPECT_EQ(Member(on, 1)["weapon"], 2);
    EXPECT_EQ(on["inventory"]["weapons"], json::parse(R"([{"weapon": 1, "count": 1}])"));
    EXPECT_EQ(Page(on)["help"], "Mina は　はがねのけん を　そうびした。");
}

void CheckOrder(const GameRun& run) {
    const json marked = run.State(kOrderMarked);
    EXPECT_EQ(Page(marked)["page"], "order");
    EXPECT_EQ(Page(marked)["lines"][0]["marked"], true);
    EXPECT_EQ(Page(marked)["cursor"], 2);
    EXPECT_EQ(Page(marked)["member"], 3);
    ExpectLikeReference(run.Shot(kOrderMarked), "menu_order");

    const json swapped = run.State(kOrderSwapped);
    EXPECT_EQ(swapped["g_PartyOrder"], json({3, 0, 1}));
    EXPECT_EQ(Line(swapped, 0), "Rikku");
    // Rikku leads on the field now: character 0 is her character file.
    EXPECT_EQ(swapped["g_Characters"][0]["fileName"], "mina");

    const json entries = run.State(kBackOnEntries);
    EXPECT_TRUE(Page(entries).is_null());
    EXPECT_EQ(entries["g_FrameProc"], "MenuScreenFrame");
}

void CheckScriptLabel(const GameRun& run) {
    const json gift = run.State(kGift);
    EXPECT_EQ(gift["g_FrameProc"], "FieldFrame");
    EXPECT_EQ(gift["g_TalkWindows"][0]["text"], "A herb for the road.\\e");
    EXPECT_EQ(Goods(gift)["やくそう"], 3);
    EXPECT_TRUE(gift["messageBoxes"].empty());
}

}  // namespace

TEST(MenuPagesE2e, EachPageDoesItsPartAndASavedGameKeepsIt) {
    if (!GameFlowDataBuilt())
        GTEST_SKIP() << "the game-flow data was not built at " << kGameFlowData;
    GameRun run("e2e_menu", Presses(kPresses), kLastFrame, 3);
    run.DumpAt({kPoisonChosen, kPoisoned, kSmokeRefused, kHealed, kTechniques, kTechniquesRight,
                kSwordPreview, kSwordOn, kStrength, kStrengthRight, kOrderMarked, kOrderSwapped,
                kBackOnEntries, kGift, kSaved});
    run.ShotAt({kHealed, kTechniques, kSwordPreview, kStrength, kOrderMarked});
    const std::string saves = (run.Dir() / "saves").string();
    run.With("--save-dir " + saves + " --save-at " + std::to_string(kSaved) + ":1");
    ASSERT_EQ(run.Run(), 0);
    const std::pair<const char*, void (*)(const GameRun&)> parts[] = {
        {"Items", CheckItems},
        {"TechniquesAndStrength", CheckTechniquesAndStrength},
        {"Equipment", CheckEquipment},
        {"Order", CheckOrder},
        {"ScriptLabel", CheckScriptLabel},
    };
    for (const auto& [name, check] : parts) {
        SCOPED_TRACE(name);
        check(run);
    }

    // Taken up in a new process, the game has the party as it was saved.
    GameRun loaded("e2e_menu_load", "", 3, 3);
    loaded.DumpAt({2});
    loaded.With("--save-dir " + saves + " --load 1");
    ASSERT_EQ(loaded.Run(), 0);
    const json before = run.State(kSaved), after = loaded.State(2);
    for (const char* key : {"inventory", "g_PartyOrder", "g_PartyMembers"})
        EXPECT_EQ(after[key], before[key]) << key;
    EXPECT_EQ(after["g_Characters"][0]["fileName"], "mina");
}

TEST(MenuPagesE2e, WithoutTheActionsFileShiftOnAnEntryDoesNothing) {
    if (!GameFlowDataBuilt())
        GTEST_SKIP() << "the game-flow data was not built at " << kGameFlowData;
    const Press presses[] = {{30, "shift"}, {50, "return", 3}, {80, "shift", 6}};
    GameRun run("e2e_menu_plain", Presses(presses), 111, 3);
    run.WithoutFiles({"Datas/MnuActions.qd"});
    run.DumpAt({110});
    ASSERT_EQ(run.Run(), 0);
    const json j = run.State(110);
    EXPECT_EQ(j["g_FrameProc"], "MenuScreenFrame");
    EXPECT_TRUE(Page(j).is_null());
    EXPECT_EQ(j["GameState"]["messageWindow"]["cursor"], 0);
    EXPECT_TRUE(j["messageBoxes"].empty());
}
