// A new game in the same program: after the world reset the demo adventure plays exactly as it
// did the first time, whatever the first game left behind (a battle half fought, another
// field, loaded textures, sounds and music). Each game starts on the demo's title, as the
// program does, and its recorded keys choose New game.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/game_start.h"
#include "app/input_timeline.h"
#include "app/state_dump.h"
#include "app/title_menu.h"
#include "battle/battle.h"
#include "demo_shell.h"
#include "test_support.h"

namespace {

class WorldResetTest : public HeadlessHostTest {
protected:
    InputTimeline timeline;
    DemoShell demo;
    uint64_t gameStart = 0;  // FramesRun() at the first frame of the current game
    size_t nextEvent = 0;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        std::string error;
        ASSERT_TRUE(ParseInputTimeline(
            ReadFileBytes(GH02_SOURCE_DIR "/tests/playthrough/adventure.keys"), timeline, error))
            << error;
        ASSERT_TRUE(demo.Start(GH02_DEMO_DATA, MakeTempDir("world_reset_saves")));
    }
    void TearDown() override {
        demo.Stop();
        HeadlessHostTest::TearDown();
    }

    // Frames of the current game up to `frame` (counted from its start), with the recorded keys.
    void PlayTo(uint64_t frame) {
        while (FramesRun() - gameStart < frame) {
            const uint64_t now = FramesRun() - gameStart;
            for (; nextEvent < timeline.events.size() && timeline.events[nextEvent].frame <= now;
                 ++nextEvent)
                keys.down[timeline.events[nextEvent].virtualKey] = timeline.events[nextEvent].down;
            DemoShell::Frame(clock);
        }
    }

    // The world reset, then the program's first frame again: the title.
    void NewGame() {
        ResetGameWorld();
        EXPECT_EQ(g_FrameProc, StartupFrame);
        InstallStartupFrame();
        keys.down.clear();
        gameStart = FramesRun();
        nextEvent = 0;
    }

    // The dump without what belongs to the program: its frame count and clock, and the boxes it
    // has shown so far.
    static nlohmann::json GameDump() {
        nlohmann::json j = DumpState();
        for (const char* key : {"frame", "g_FrameStart", "messageBoxes"}) j.erase(key);
        return j;
    }
};

}  // namespace

TEST_F(WorldResetTest, ANewGameAfterPlayIsTheFirstGameAgain) {
    // Right after the game start (New game at frame 9), and past the opening and the child's
    // first words.
    const uint64_t checks[] = {12, 410};
    nlohmann::json first[2];
    for (int i = 0; i < 2; ++i) {
        PlayTo(checks[i]);
        first[i] = GameDump();
    }
    PlayTo(2495);  // into the forest and a battle, mid-fight
    ASSERT_TRUE(g_pBattle) << "the recorded keys no longer reach the first battle";

    NewGame();
    EXPECT_EQ(g_FrameProc, TitleFrame);
    EXPECT_FALSE(g_pBattle);
    for (int i = 0; i < 2; ++i) {
        PlayTo(checks[i]);
        const nlohmann::json again = GameDump();
        EXPECT_EQ(again, first[i]) << "frame " << checks[i] << " of the first game:\n"
                                   << first[i].dump(1) << "\nafter the reset:\n"
                                   << again.dump(1);
    }
}
