// What the demo adventure costs to build and to play: the content builder over content/ into
// an empty directory and again with nothing changed, and the headless play-through of
// tests/playthrough/adventure.keys without pictures (game logic and the device on the
// recording path) and with the milestones' screenshots (only those frames drawn by OpenGL).
// The programs run as a player's build would run them, as processes; the figures are wall time.
// Build the programs it runs in the same build directory:
//   cmake --build build/bench --target playthrough_bench contentgen gh02
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench_paths.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = SourceDir();

// Runs a program; true when it ended with the exit code it ends with when all went well.
bool Run(const std::string& command, int success) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == success;
}

// The last frame a key event names, and the milestone frames of the timeline's comments.
struct Timeline {
    int lastFrame = 0;
    std::string screenshots;  // --screenshot options for every "milestone <name> at <frame>"
};

Timeline ReadTimeline(const fs::path& keys, const fs::path& shotDir) {
    Timeline t;
    std::ifstream in(keys);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (line[0] != '#') {
            t.lastFrame = std::max(t.lastFrame, std::atoi(line.c_str()));
            continue;
        }
        for (size_t at = line.find("milestone "); at != std::string::npos;
             at = line.find("milestone ", at + 1)) {
            std::istringstream words(line.substr(at + 10));
            std::string name, word;
            int frame = -1;
            words >> name >> word >> frame;
            const bool plainName =
                !name.empty() && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz_0123456789") ==
                                     std::string::npos;
            if (plainName && word == "at" && frame >= 0)
                t.screenshots += " --screenshot " + std::to_string(frame) + ":" +
                                 (shotDir / (name + ".png")).string();
        }
    }
    return t;
}

void BuildContentFresh(benchmark::State& state) {
    const fs::path contentgen = BuildDir() / "tools" / "contentgen" / "contentgen";
    const fs::path out = fs::temp_directory_path() / "gh02_bench_content";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        state.ResumeTiming();
        if (!Run(contentgen.string() + " " + (kSource / "content").string() + " " + out.string(),
                 0))
            state.SkipWithError("contentgen failed (is it built beside this program?)");
    }
    fs::remove_all(out);
}

void BuildContentUnchanged(benchmark::State& state) {
    const fs::path contentgen = BuildDir() / "tools" / "contentgen" / "contentgen";
    const fs::path out = fs::temp_directory_path() / "gh02_bench_content_again";
    const std::string command = contentgen.string() + " " + (kSource / "content").string() + " " +
                                out.string() + " " + (out / "manifest.txt").string();
    fs::remove_all(out);
    if (!Run(command, 0))
        state.SkipWithError("contentgen failed (is it built beside this program?)");
    for (auto _ : state)
        if (!Run(command, 0)) state.SkipWithError("contentgen failed");
    fs::remove_all(out);
}

void Playthrough(benchmark::State& state, bool pictures) {
    const fs::path gh02 = BuildDir() / "game" / "gh02";
    const fs::path keys = kSource / "tests" / "playthrough" / "adventure.keys";
    const fs::path shots = fs::temp_directory_path() / "gh02_bench_shots";
    const fs::path saves = fs::temp_directory_path() / "gh02_bench_no_saves";
    fs::create_directories(shots);
    fs::remove_all(saves);
    fs::create_directories(saves);  // empty: the title's cursor is on New game
    const Timeline t = ReadTimeline(keys, shots);
    const int frames = t.lastFrame + 60;
    const std::string command = gh02.string() + " --headless --seed 7 --frames " +
                                std::to_string(frames) + " --save-dir " + saves.string() +
                                " --input " + keys.string() + (pictures ? t.screenshots : "");
    for (auto _ : state)
        if (!Run(command, 0))  // gh02 ends with 0 after an orderly end (its last frame)
            state.SkipWithError("gh02 failed (is the game built beside this program?)");
    state.counters["frames"] = frames;
    state.counters["frames/s"] = benchmark::Counter(double(frames) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    fs::remove_all(shots);
    fs::remove_all(saves);
}

void PlaythroughLogic(benchmark::State& state) {
    Playthrough(state, false);
}
void PlaythroughWithPictures(benchmark::State& state) {
    Playthrough(state, true);
}

}  // namespace

BENCHMARK(BuildContentFresh)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BuildContentUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(PlaythroughLogic)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(PlaythroughWithPictures)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
