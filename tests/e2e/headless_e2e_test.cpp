// Runs the real gh02 binary headless and looks at what it leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"
#include "platform/instance_lock.h"
#include "test_support.h"

namespace fs = std::filesystem;

TEST(HeadlessRun, EscapeInTheTimelineEndsInOrder) {
    DemoRun run("e2e", "# walk a little, then leave\n3 up down\n6 up up\n9 escape down\n", 100);
    run.With("--frame-ms 20");
    run.DumpAt({4, 50});
    EXPECT_EQ(run.Run(), 0);
    EXPECT_TRUE(run.State(50).is_null());  // Escape ended the run at frame 9
    const nlohmann::json j = run.State(4);
    ASSERT_FALSE(j.is_null());
    ExpectFields(
        j,
        {{"/g_FrameTime", 20}, {"/frame", 5}, {"/g_TextRect", nlohmann::json({0, 0, 640, 480})}});
    EXPECT_EQ(j["g_TextureSlots"].size(), 64u);
    EXPECT_TRUE(j["messageBoxes"].is_array());
}

// 0 after an orderly end, 1 when the game could not start (said on stderr), 2 for a bad command
// line: what launchers read. Options that would do nothing are refused or warned about, each
// with a line on stderr.
TEST(HeadlessRun, ExitCodesTellHowTheRunEnded) {
    const fs::path dir = MakeTempDir("e2e");
    const std::string lock = (dir / "gh02.lock").string();
    InstanceLock first;
    ASSERT_TRUE(first.Acquire(lock));
    fs::create_directories(dir / "empty");
    std::ofstream(dir / "bad.txt") << "1 jump down\n";
    const struct {
        std::string args;
        int code;
        const char* said;
    } runs[] = {
        {"--headless --frames 2", 0, ""},  // without --single-instance the lock does not matter
        {"--headless --single-instance --frames 5", 1, "the game already runs"},
        {"--headless --frames 2 --data " + (dir / "empty").string(), 1, "SCR/test.qd"},
        {"--headless --frames 2 --data " + (dir / "none").string(), 1, "no game data in"},
        {"--headless --frames 0", 2, "--frames"},
        {"--headless --input " + dir.string(), 2, "is a folder, not a key timeline"},
        {"--headless --frames 3 --dump-state 5:" + (dir / "x.json").string(), 0,
         "--dump-state at frame 5 is past the last frame (2)"},
        {"--headless --frames 3 --record " + (dir / "r.keys").string(), 0,
         "--record records interactive play"},
        {"--headless --screenshot nonsense", 2, ""},
        {"--headless --input /nonexistent/keys.txt", 2, ""},
        {"--headless --input " + (dir / "bad.txt").string(), 2, ""},
        {"--help", 0, ""},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args);
        std::string said;
        EXPECT_EQ(RunGh02(r.args, "GH02_LOCK_FILE=" + lock, &said), r.code);
        EXPECT_NE(said.find(r.said), std::string::npos) << said;
    }
    // A folder without the game's data: one box naming it and what is missing (in the dumps
    // asked for), and no game runs.
    const fs::path dump = dir / "empty.json";
    EXPECT_EQ(RunGh02("--headless --frames 50 --data " + (dir / "empty").string() +
                      " --dump-state 10:" + dump.string()),
              1);
    const auto j = ReadJson(dump);
    EXPECT_EQ(j["frame"], 0);
    ASSERT_EQ(j["messageBoxes"].size(), 1u);
    EXPECT_EQ(j["messageBoxes"][0]["text"],
              "no game data in " + (dir / "empty").string() +
                  ": SCR/test.qd (the script a new game starts from) and Field/baske0.qf (its "
                  "first field) are not there. --data names the data folder.");
    fs::remove_all(dir);
}
