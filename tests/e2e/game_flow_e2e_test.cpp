// Plays the game-flow data set (tests/fixtures/gameflow, built beside the tests) through the
// real binary: the opening line, a conversation with a choice list, a place trigger with a
// camera path that changes the script, the new script loading another field, and the menu
// screen opened and closed. One run, checked part by part.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"

using nlohmann::json;

namespace {

// Frames the key timeline below is built around.
constexpr int kOpeningShown = 25;  // the opening line typed out, waiting
constexpr int kOpeningDone = 35;   // confirmed: the script ended with f10
constexpr int kListOpen = 65;      // talking to character 1: question and choice list
constexpr int kCursorMoved = 80;   // Down moved the list's cursor to the second entry
constexpr int kAnswered = 110;     // the answer to "No" typed out
constexpr int kPlaceFired = 205;   // walked onto place 0: camera path running
constexpr int kPathDone = 230;     // the camera path has ended
constexpr int kFading = 250;       // the script change's fade
constexpr int kNewScript = 280;    // the new script loaded another field and speaks
constexpr int kMenuScreen = 335;   // the menu screen, faded in
constexpr int kBackOnField = 370;  // closed again
constexpr int kLastFrame = 371;

// The opening line; talking to character 1 and answering its question with the second entry;
// the walk onto place 0 and its line (the script changes behind it); the menu screen and back.
const Press kFlowPresses[] = {
    {30, "shift"},   {50, "shift", 3}, {70, "down", 5}, {85, "shift", 6},   {115, "shift"},
    {140, "up", 75}, {240, "shift"},   {290, "shift"},  {310, "return", 3}, {340, "ctrl", 3}};
const std::string kKeys = Presses(kFlowPresses);

void CheckOpeningLineWaitsForTheConfirmKey(const GameRun& run) {
    // Character 1 was loaded for the field by the opening.
    const json a = run.State(kOpeningShown);
    ExpectFields(a, {{"/g_FrameProc", "FieldFrame"},
                     {"/g_FadeAlpha", 0},
                     {"/g_FieldInputEnabled", 1},
                     {"/g_TalkWindows/0/text", "Welcome to the test field.\\e"},
                     {"/g_TalkWindows/0/open", 65535},
                     {"/GameState/scriptRunning", 0},
                     {"/g_Characters/1/fileName", "mina"}});
    EXPECT_EQ(a["g_Characters"].size(), 2u);

    const json b = run.State(kOpeningDone);
    EXPECT_EQ(b["g_TalkWindows"][0]["open"], 0);
    EXPECT_LT(b["g_ActionTimer"].get<int>(), 80);  // held back after the conversation
    for (int f : {kOpeningShown, kBackOnField}) EXPECT_TRUE(run.State(f)["messageBoxes"].empty());
}

void CheckConversationWithAChoiceList(const GameRun& run) {
    const json open = run.State(kListOpen);
    const json& list = open["GameState"]["messageWindow"];
    const json& window = open["g_TalkWindows"][0];
    ASSERT_EQ(list["entries"].size(), 2u);
    // Below the first window, 16 pixels in, sized for its entries.
    ExpectFields(open,
                 {{"/GameState/messageOpen", 1}, {"/g_TalkWindows/0/text", "Shall we go on?\\e"}});
    ExpectFields(list, {{"/entries/0/text", "Yes"},
                        {"/entries/1/value", 1},
                        {"/cursor", 0},
                        {"/x", window["x"].get<int>() + 16},
                        {"/y", window["y"].get<int>() + window["h"].get<int>()},
                        {"/w", 9 * 3 + 8},
                        {"/h", 20 * 2 + 4}});

    EXPECT_EQ(run.State(kCursorMoved)["GameState"]["messageWindow"]["cursor"], 1);

    // f8 4 read the cursor.
    ExpectFields(run.State(kAnswered),
                 {{"/GameState/messageOpen", 0},
                  {"/GameState/fieldScript/iv/0", 1},
                  {"/g_TalkWindows/0/text",
                   "Another time then; the road will wait for us until the morning comes.\\e"}});
}

void CheckPlaceTriggerMovesTheCameraAndChangesTheScript(const GameRun& run) {
    const json fired = run.State(kPlaceFired);
    ExpectFields(fired, {{"/camera/handler", "CameraMoveOrbit"},
                         {"/camera/keys/0/frames", 20},
                         {"/g_EnemySet", json({1, -1, 0, -1, -1})}});
    EXPECT_EQ(fired["camera"]["keys"].size(), 1u);
    EXPECT_LT(fired["character0"]["position"][2].get<double>(), -13000.0);  // walked up to it

    const json done = run.State(kPathDone);
    EXPECT_EQ(done["camera"]["handler"], "NullFrameHook");
    EXPECT_NEAR(done["camera"]["angle"].get<double>(), 90 * 0.0174533, 1e-3);
    EXPECT_NEAR(done["camera"]["distance"].get<double>(), 2500.0, 0.5);
    EXPECT_NEAR(done["camera"]["eye"][1].get<double>(), 1500.0, 0.5);

    const json fading = run.State(kFading);
    EXPECT_GT(fading["GameState"]["fieldScript"]["aux"].get<int>(), 0);
    ExpectFields(fading, {{"/g_FieldInputEnabled", 0}, {"/g_FieldScriptName", "test"}});
}

void CheckNewScriptLoadsAnotherField(const GameRun& run) {
    ExpectFields(run.State(kNewScript), {{"/g_FieldScriptName", "second"},
                                         {"/g_FieldName", "meadow2"},
                                         {"/GameState/fieldScript/aux", 0},
                                         {"/g_FieldInputEnabled", 1},
                                         {"/g_TalkWindows/0/text", "A new field.\\e"},
                                         {"/messageBoxes", json::array()}});
}

void CheckMenuScreenOpensAndCloses(const GameRun& run) {
    const json menu = run.State(kMenuScreen);
    ExpectFields(
        menu,
        {{"/g_FrameProc", "MenuScreenFrame"}, {"/g_FadeAlpha", 0}, {"/MenuEntries/count", 7}});
    EXPECT_EQ(menu["GameState"]["messageWindow"]["entries"].size(), 7u);

    const Picture shot = LoadPicture(run.Shot(kMenuScreen));
    ASSERT_EQ(shot.w, 640);
    // The opaque background: grey at the top-left and bottom-right corners, purple at the other
    // two (the bottom ones are free of anything drawn over them).
    EXPECT_TRUE(Near(shot.At(1, 478), 160, 0, 160));
    EXPECT_TRUE(Near(shot.At(638, 478), 200, 200, 200));
    // The first menu entry's box, under the cursor: a dense blue-purple.
    const uint8_t* box = shot.At(630, 66);
    EXPECT_GT(box[2], 150);
    EXPECT_LT(box[1], 60);

    ExpectFields(
        run.State(kBackOnField),
        {{"/g_FrameProc", "FieldFrame"}, {"/g_FadeAlpha", 0}, {"/g_FieldInputEnabled", 1}});
}

}  // namespace

TEST(GameFlowE2e, OneRunThroughTheFieldTheScriptsAndTheMenuScreen) {
    SKIP_WITHOUT_GAMEFLOW_DATA();
    GameRun run("e2e_flow", kKeys, kLastFrame + 1, 3);
    run.DumpAt({kOpeningShown, kOpeningDone, kListOpen, kCursorMoved, kAnswered, kPlaceFired,
                kPathDone, kFading, kNewScript, kMenuScreen, kBackOnField});
    run.ShotAt({kMenuScreen});
    ASSERT_EQ(run.Run(), 0);
    CheckParts(run, {{"the opening line", CheckOpeningLineWaitsForTheConfirmKey},
                     {"the choice list", CheckConversationWithAChoiceList},
                     {"the place trigger", CheckPlaceTriggerMovesTheCameraAndChangesTheScript},
                     {"the new script", CheckNewScriptLoadsAnotherField},
                     {"the menu screen", CheckMenuScreenOpensAndCloses}});
}
