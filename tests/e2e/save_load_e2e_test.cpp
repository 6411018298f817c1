// A saved game continues exactly as if it had never stopped: the demo adventure played with the
// recorded keys is saved in the village (its script paused behind ";" with a line waiting) and
// in the forest after a battle; each save is loaded in a new process that plays the rest of the
// keys. Its picture a few frames on is the uninterrupted run's to the byte, and its state dumps
// then, a while later and at the end equal the uninterrupted run's. Only what belongs to the
// process may differ: the frame count and the clock word of the frame's start (a loaded game
// starts at frame 0 on its own clock).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "e2e_run.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const fs::path kAdventureKeys =
    fs::path(GH02_SOURCE_DIR) / "tests" / "playthrough" / "adventure.keys";
constexpr int kAdventureEnd = 4010;

// The timeline's events from `from` on, moved so that `from` becomes frame 0.
std::string KeysFrom(int from) {
    std::ifstream in(kAdventureKeys);
    std::ostringstream out;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int frame;
        std::string key, state;
        if (words >> frame >> key >> state && frame >= from)
            out << frame - from << ' ' << key << ' ' << state << '\n';
    }
    return out.str();
}

// Frames after the load that are checked, counted from the first frame the loaded game plays.
constexpr int kChecks[] = {3, 150};

json WithoutProcessFields(json j) {
    j.erase("frame");
    j.erase("g_FrameStart");
    return j;
}

}  // namespace

TEST(SaveLoad, ALoadedGamePlaysOnAsTheGameThatWasSaved) {
    const struct {
        int frame;
        const char* where;
    } saves[] = {{1205, "village, a line waiting"}, {2870, "forest, after a battle"}};
    DemoRun whole("saveload", ReadFileBytes(kAdventureKeys), kAdventureEnd + 1);
    whole.With("--save-at 1205:1 --save-at 2870:2");
    whole.DumpAt({kAdventureEnd});
    for (const auto& save : saves) {
        for (int k : kChecks) whole.DumpAt({save.frame + 1 + k});
        whole.ShotAt({save.frame + 1 + kChecks[0]});
    }
    ASSERT_EQ(whole.Run(), 0);
    for (int slot = 1; slot <= 2; ++slot) {
        const int from = saves[slot - 1].frame + 1;
        SCOPED_TRACE(saves[slot - 1].where);
        DemoRun loaded("saveload_loaded", KeysFrom(from), kAdventureEnd + 1 - from,
                       whole.Dir() / "saves");
        loaded.With("--load " + std::to_string(slot));
        loaded.DumpAt({kChecks[0], kChecks[1], kAdventureEnd - from});
        loaded.ShotAt({kChecks[0]});
        ASSERT_EQ(loaded.Run(), 0);
        auto compare = [&](int wholeFrame, int loadedFrame) {
            const json w = WithoutProcessFields(whole.State(wholeFrame));
            const json l = WithoutProcessFields(loaded.State(loadedFrame));
            EXPECT_EQ(l, w) << "frame " << wholeFrame << ": " << json::diff(w, l).dump(1);
        };
        for (int k : kChecks) compare(from + k, k);
        compare(kAdventureEnd, kAdventureEnd - from);
        EXPECT_EQ(ReadFileBytes(loaded.Shot(kChecks[0])),
                  ReadFileBytes(whole.Shot(from + kChecks[0])))
            << "the picture after the load differs";
    }
}

TEST(SaveLoad, ASaveThatCannotBeReadIsNeverLoaded) {
    const fs::path dir = MakeTempDir("badsave");
    const std::string args = "--headless --frames 2 --save-dir " + dir.string() + " --load ";
    std::ofstream(dir / "slot01.json") << "{\"format\": \"gh02-save\", \"version\": 99}";
    std::ofstream(dir / "cut.json") << "{\"format\": \"gh";
    EXPECT_EQ(RunGh02(args + "1"), 2);  // from a newer version
    EXPECT_EQ(RunGh02(args + (dir / "cut.json").string()), 2);
    EXPECT_EQ(RunGh02(args + "3"), 2);  // an empty slot
    fs::remove_all(dir);
}
