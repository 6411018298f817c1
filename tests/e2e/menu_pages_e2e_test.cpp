// The menu screen's entries on the game-flow data set, whose Datas\MnuActions.qd gives them
// their pages: a poison and a herb used on Harlo, the smoke ball refused outside battle, Mina's
// and Harlo's techniques and strength, the steel sword put on Mina, Rikku moved to the front
// (and so to the field's lead), and the entry that runs the field script's GIFT label. The game
// saved afterwards comes back with what the party carries, holds and how it stands. Each page is
// compared with its reference picture (tests/playthrough/ref/menu_<page>.png). (Without the file,
// Shift on an entry does nothing: the held-keys test plays that.)
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
constexpr int kHerbHealed = 280;    // a herb on Harlo: back to his maximum, not past it
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
constexpr int kMenusDone = 841;

// Items: down to the poison, on Harlo; Shift on the smoke ball; up to the herbs, on Harlo.
// Techniques, then the next fighter. Equipment: Mina, then the steel sword. Strength, then the
// next member. Order: the first place with the third. The entry that runs the field script's
// GIFT label.
const Press kPresses[] = {
    {30, "shift"},     {50, "return", 3}, {80, "shift", 6}, {105, "down"},     {125, "shift"},
    {145, "down"},     {165, "shift"},    {185, "shift"},   {205, "up"},       {225, "shift"},
    {245, "down"},     {265, "shift"},    {285, "ctrl"},    {305, "ctrl"},     {325, "down"},
    {345, "shift", 6}, {375, "right"},    {395, "ctrl"},    {415, "down"},     {435, "shift", 6},
    {460, "shift"},    {480, "shift"},    {500, "ctrl"},    {520, "down"},     {540, "shift", 6},
    {565, "right"},    {585, "ctrl"},     {605, "down"},    {625, "shift", 6}, {650, "shift"},
    {670, "down"},     {690, "down"},     {710, "shift"},   {730, "ctrl"},     {750, "down"},
    {770, "shift", 6}};

void CheckItems(const GameRun& run) {
    // The places' order: the fighters, then who stays back.
    ExpectFields(run.State(kPoisonChosen)["menuPage"],
                 {{"/page", "items"},
                  {"/title", "アイテム"},
                  {"/step", 1},
                  {"/help", "にがいどく を　だれに　つかいますか？"},
                  {"/lines/0/text", "Mina"},
                  {"/lines/3/text", "Gordo"}});

    // None left to use.
    const json poisoned = run.State(kPoisoned);
    ExpectFields(poisoned, {{"/g_PartyMembers/0/hp", 100},
                            {"/menuPage/step", 0},
                            {"/menuPage/help", "Harlo に　にがいどく を　つかった。"}});
    EXPECT_EQ(Goods(poisoned), json({{"やくそう", 3}, {"けむりだま", 1}}));
    EXPECT_EQ(Page(run.State(kSmokeRefused))["help"], "けむりだま は　ここでは　つかえない。");

    // +30, no more than the maximum.
    const json healed = run.State(kHerbHealed);
    ExpectFields(healed, {{"/g_PartyMembers/0/hp", 120}, {"/menuPage/member", 0}});
    EXPECT_EQ(Goods(healed), json({{"やくそう", 2}, {"けむりだま", 1}}));
    ExpectLikeReference(run.Shot(kHerbHealed), "menu_items");
}

void CheckTechniquesAndStrength(const GameRun& run) {
    // Her commands わざ and まほう open technique menus; she knows two of わざ and none of まほう.
    ExpectFields(run.State(kTechniques)["menuPage"], {{"/page", "techniques"},
                                                      {"/member", 1},
                                                      {"/lines/0/heading", true},
                                                      {"/lines/0/text", "わざ"},
                                                      {"/lines/1/text", "きりおとし"},
                                                      {"/lines/2/text", "ヒール"},
                                                      {"/lines/3/text", "まほう"},
                                                      {"/cursor", 1},
                                                      {"/help", "強い一撃"}});
    ExpectLikeReference(run.Shot(kTechniques), "menu_techniques");
    EXPECT_EQ(Page(run.State(kTechniquesRight))["member"], 0);

    const json strength = run.State(kStrength)["menuPage"];
    EXPECT_EQ(strength["lines"].size(), 12u);  // the eleven stats and the weapon
    ExpectFields(strength, {{"/page", "strength"},
                            {"/member", 1},
                            {"/lines/5/text", "すばやさ"},
                            {"/lines/5/value", " 30"},
                            {"/lines/11/value", "はがねのけん"}});
    ExpectLikeReference(run.Shot(kStrength), "menu_strength");
    EXPECT_EQ(Page(run.State(kStrengthRight))["member"], 0);
}

void CheckEquipment(const GameRun& run) {
    ExpectFields(run.State(kSwordPreview)["menuPage"],
                 {{"/page", "equipment"},
                  {"/member", 1},
                  {"/lines/0/text", "いまの　ぶき　どうのけん"},
                  {"/lines/1/text", "はがねのけん"},
                  {"/help", "Mina：どうのけん → はがねのけん"}});
    ExpectLikeReference(run.Shot(kSwordPreview), "menu_equipment");

    ExpectFields(run.State(kSwordOn),
                 {{"/g_PartyMembers/1/weapon", 2},
                  {"/inventory/weapons", json::parse(R"([{"weapon": 1, "count": 1}])")},
                  {"/menuPage/help", "Mina は　はがねのけん を　そうびした。"}});
}

void CheckOrder(const GameRun& run) {
    ExpectFields(run.State(kOrderMarked)["menuPage"],
                 {{"/page", "order"}, {"/lines/0/marked", true}, {"/cursor", 2}, {"/member", 3}});
    ExpectLikeReference(run.Shot(kOrderMarked), "menu_order");

    // Rikku leads on the field now: character 0 is her character file.
    ExpectFields(run.State(kOrderSwapped), {{"/g_PartyOrder", json({3, 0, 1})},
                                            {"/menuPage/lines/0/text", "Rikku"},
                                            {"/g_Characters/0/fileName", "mina"}});
    ExpectFields(run.State(kBackOnEntries),
                 {{"/menuPage", nullptr}, {"/g_FrameProc", "MenuScreenFrame"}});
}

void CheckScriptLabel(const GameRun& run) {
    const json gift = run.State(kGift);
    ExpectFields(gift, {{"/g_FrameProc", "FieldFrame"},
                        {"/messageBoxes", json::array()},
                        {"/g_TalkWindows/0/text", "A herb for the road.\\e"}});
    EXPECT_EQ(Goods(gift)["やくそう"], 3);
}

}  // namespace

TEST(MenuPagesE2e, EachPageDoesItsPartAndASavedGameKeepsIt) {
    SKIP_WITHOUT_GAMEFLOW_DATA();
    GameRun run("e2e_menu", Presses(kPresses), kMenusDone, 3);
    run.DumpAt({kPoisonChosen, kPoisoned, kSmokeRefused, kHerbHealed, kTechniques, kTechniquesRight,
                kSwordPreview, kSwordOn, kStrength, kStrengthRight, kOrderMarked, kOrderSwapped,
                kBackOnEntries, kGift, kSaved});
    run.ShotAt({kHerbHealed, kTechniques, kSwordPreview, kStrength, kOrderMarked});
    const std::string saves = (run.Dir() / "saves").string();
    run.With("--save-dir " + saves + " --save-at " + std::to_string(kSaved) + ":1");
    ASSERT_EQ(run.Run(), 0);
    CheckParts(run, {{"Items", CheckItems},
                     {"TechniquesAndStrength", CheckTechniquesAndStrength},
                     {"Equipment", CheckEquipment},
                     {"Order", CheckOrder},
                     {"ScriptLabel", CheckScriptLabel}});

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
