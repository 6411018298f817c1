// Keys still down from what came before do not act on what opens next (the game-flow data set,
// the real binary): the confirm key that ended a conversation does not start it again, and an
// arrow held into a choice list, the menu screen or a battle menu does not move its cursor, until
// the key has been released and pressed anew.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"

using nlohmann::json;

namespace {

// The opening line confirmed, then character 1 spoken to (its question and choice list).
const std::string kToTheList = Presses({{30, "shift"}, {50, "shift", 3}});

struct HeldKeyRun {
    const char* what;
    std::string keys;
    int frames;
    int held, after;  // frames to look at: the key still held, then pressed anew
    void (*check)(const json& held, const json& after);
    const char* without = nullptr;  // a file the data set is played without
};

const HeldKeyRun kRuns[] = {
    // "Yes" chosen; its answer confirmed with Shift held on for 85 frames: the talk ends and
    // does not begin again; let go and pressed, Shift starts it as usual.
    {"the confirm key after a conversation",
     kToTheList + Presses({{85, "shift", 6}, {115, "shift", 85}, {210, "shift", 3}}), 231, 190, 230,
     [](const json& held, const json& after) {
         ExpectFields(held, {{"/g_TalkWindows/0/open", 0},
                             {"/GameState/fieldScript/running", 0},
                             {"/g_KeyShift", 0}});
         ExpectFields(after, {{"/g_TalkWindows/0/text", "Shall we go on?\\e"},
                              {"/g_TalkWindows/0/open", 65535}});
     }},
    // Down pressed with the Shift that speaks: the list opens under it and keeps its cursor.
    {"an arrow into the choice list", kToTheList + Presses({{50, "down", 50}, {105, "down", 5}}),
     121, 95, 120,
     [](const json& held, const json& after) {
         ExpectFields(
             held, {{"/GameState/messageWindow/open", 1}, {"/GameState/messageWindow/cursor", 0}});
         EXPECT_EQ(after["GameState"]["messageWindow"]["cursor"], 1);
     }},
    // Walking down, Return opens the menu screen with Down still held. On a data set without
    // Datas\MnuActions.qd, Shift on the entry then does nothing, as it always did.
    {"an arrow into the menu screen",
     Presses(
         {{30, "shift"}, {40, "down", 60}, {60, "return", 3}, {105, "down", 2}, {125, "shift", 6}}),
     151, 95, 150,
     [](const json& held, const json& after) {
         ExpectFields(
             held, {{"/g_FrameProc", "MenuScreenFrame"}, {"/GameState/messageWindow/cursor", 0}});
         ExpectFields(after, {{"/g_FrameProc", "MenuScreenFrame"},
                              {"/GameState/messageWindow/cursor", 1},
                              {"/menuPage", nullptr},
                              {"/messageBoxes", json::array()}});
     },
     "Datas/MnuActions.qd"},
    // The walk onto place 1 starts a battle; Down held from the gauges on into fighter 1's
    // command menu.
    {"an arrow into a battle menu",
     Presses({{30, "shift"}, {40, "right", 110}, {190, "down", 60}, {260, "down", 2}}), 276, 245,
     275,
     [](const json& held, const json& after) {
         ExpectFields(held, {{"/battle/phase", "CommandSelect"}, {"/battle/menu/cursor", 0}});
         EXPECT_EQ(after["battle"]["menu"]["cursor"], 1);
     }},
};

}  // namespace

TEST(HeldKeysE2e, AKeyHeldFromBeforeWaitsForItsRelease) {
    SKIP_WITHOUT_GAMEFLOW_DATA();
    for (const HeldKeyRun& r : kRuns) {
        SCOPED_TRACE(r.what);
        GameRun run("e2e_held_keys", r.keys, r.frames, 3);
        if (r.without) run.WithoutFiles({r.without});
        run.DumpAt({r.held, r.after});
        ASSERT_EQ(run.Run(), 0);
        r.check(run.State(r.held), run.State(r.after));
    }
}
