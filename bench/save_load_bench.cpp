// What saving and loading cost: the demo adventure played in-process (recording device, no
// pictures) with the recorded keys into the village, where the elder's and the child's talks
// are over and a line waits; then that game saved into a slot again and again (take the
// snapshot, encode it with its checksum, write the file atomically) and loaded again and again
// (read the file, decode and check it, then reset the world and put the game in place, which
// loads the field, its script, the models and the textures anew). The parts are measured too.
// Build the demo data beside it in the same build directory:
//   cmake --build build/bench --target save_load_bench gh02
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/game_snapshot.h"
#include "app/input_timeline.h"
#include "app/modes.h"
#include "app/save_game.h"
#include "app/shell.h"
#include "base/crt_rand.h"
#include "base/diagnostics.h"
#include "base/host.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "gfx/recording_backend.h"
#include "gfx/rz_image.h"
#include "platform/iconv_codec.h"
#include "save/save_slots.h"
#include "world/title_file.h"

#include "bench_paths.h"

namespace fs = std::filesystem;

namespace {

// The frame of the timeline the village is saved at: the child's second talk, a line waiting.
constexpr uint64_t kVillageFrame = 1205;

// The demo adventure in this process, played into the village once for every benchmark.
class Village {
public:
    bool ready = false;
    std::string error;

    Village() {
        g_Host.codec = &codec_;
        g_Host.clock = &clock_;
        g_Host.keys = &keys_;
        g_Host.dialogs = &dialogs_;
        dialogs_.quiet = true;
        g_Host.headless = true;
        SetLogFile("");  // the loaders' progress lines stay out of the figures
        SetDataDirectory((BuildDir() / "game").string());
        if (!fs::exists(BuildDir() / "game" / "SCR" / "test.qd")) {
            error = "the demo data is not built beside this program (build gh02)";
            return;
        }
        ReadTitleFile();
        ChooseSaveGameName();
        saves_ = fs::temp_directory_path() / ("gh02_bench_saves_" + std::to_string(getpid()));
        fs::remove_all(saves_);
        SetSaveDirectory(saves_.string());
        SetFixedSeed(true, 7);
        std::ifstream in(SourceDir() / "tests" / "playthrough" / "adventure.keys");
        InputTimeline timeline;
        if (!ParseInputTimeline({std::istreambuf_iterator<char>(in), {}}, timeline, error)) return;
        auto backend = std::make_unique<RecordingBackend>();
        backend->keep = false;
        if (!StartShell(std::move(backend))) {
            error = "the shell did not start";
            return;
        }
        InstallStartupFrame();
        size_t next = 0;
        while (FramesRun() < kVillageFrame) {
            for (; next < timeline.events.size() && timeline.events[next].frame <= FramesRun();
                 ++next)
                keys_.down[timeline.events[next].virtualKey] = timeline.events[next].down;
            clock_.Advance(17);
            RunOneFrame();
        }
        error = WhyNoSnapshot();
        ready = error.empty();
    }
    ~Village() { fs::remove_all(saves_); }

private:
    IconvCodec codec_;
    VirtualClock clock_;
    ScriptedKeys keys_;
    HeadlessDialogs dialogs_;
    fs::path saves_;
};

Village& TheVillage() {
    static Village village;
    return village;
}

bool Ready(benchmark::State& state) {
    if (!TheVillage().ready) state.SkipWithError(TheVillage().error.c_str());
    return TheVillage().ready;
}

void SaveVillage(benchmark::State& state) {
    if (!Ready(state)) return;
    std::string reason;
    for (auto _ : state)
        if (!SaveGame(0, reason)) state.SkipWithError(reason.c_str());
    state.counters["bytes"] = double(fs::file_size(SaveSlotPath(0)));
}

void TakeAndEncode(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) {
        std::string text =
            EncodeSave(SaveGameName(), CurrentSaveSummary(), SnapshotToJson(TakeSnapshot()));
        benchmark::DoNotOptimize(text);
    }
}

void ReadAndCheck(benchmark::State& state) {
    if (!Ready(state)) return;
    std::string reason;
    if (!SaveGame(0, reason)) state.SkipWithError(reason.c_str());
    for (auto _ : state) {
        LoadableGame game = ReadGameFromSlot(0);
        if (!game.ok) state.SkipWithError(game.reason.c_str());
        benchmark::DoNotOptimize(game);
    }
}

void LoadVillage(benchmark::State& state) {
    if (!Ready(state)) return;
    std::string reason;
    if (!SaveGame(0, reason)) state.SkipWithError(reason.c_str());
    for (auto _ : state) {
        const LoadableGame game = ReadGameFromSlot(0);
        if (!game.ok) state.SkipWithError(game.reason.c_str());
        StartLoadedGame(game);
    }
}

}  // namespace

BENCHMARK(SaveVillage)->Unit(benchmark::kMicrosecond);
BENCHMARK(TakeAndEncode)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadAndCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadVillage)->Unit(benchmark::kMicrosecond);
