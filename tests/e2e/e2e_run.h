#pragma once
// One headless run of the real binary on the game-flow data set (tests/fixtures/gameflow, built
// beside the tests), with its dumps and pictures, and the helpers that read those pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "e2e_support.h"
#include "picture.h"
#include "test_support.h"

#ifdef GH02_GAMEFLOW_DATA
inline const char* const kGameFlowData = GH02_GAMEFLOW_DATA;
#else
inline const char* const kGameFlowData = "";
#endif

// A key timeline of presses: each key goes down at its frame and up `held` frames later.
struct Press {
    int frame;
    const char* key;
    int held = 2;
};
template <size_t N>
std::string Presses(const Press (&presses)[N]) {
    std::string keys;
    for (const Press& p : presses)
        keys += std::to_string(p.frame) + " " + p.key + " down\n" +
                std::to_string(p.frame + p.held) + " " + p.key + " up\n";
    return keys;
}

// The demo adventure, built beside the game.
inline const std::filesystem::path kDemoData = std::filesystem::path(GH02_BINARY).parent_path();

inline bool GameFlowDataBuilt() {
    return std::filesystem::exists(std::filesystem::path(kGameFlowData) / "SCR" / "test.qd");
}
#define SKIP_WITHOUT_GAMEFLOW_DATA()                                                 \
    do {                                                                             \
        if (!GameFlowDataBuilt())                                                    \
            GTEST_SKIP() << "the game-flow data was not built at " << kGameFlowData; \
    } while (0)
#define SKIP_WITHOUT_DEMO_DATA()                                           \
    do {                                                                   \
        if (!std::filesystem::exists(kDemoData / "SCR" / "test.qd"))       \
            GTEST_SKIP() << "the demo data was not built beside the game"; \
    } while (0)

// Runs gh02 once with a key timeline (on the game-flow data set unless told another), dumping
// the state and taking pictures at chosen frames; the files live in a temporary directory that
// goes with the object, and what the run said on standard error is kept.
class GameRun {
public:
    GameRun(const std::string& tag, const std::string& keys, int frames, int seed,
            const std::filesystem::path& data = kGameFlowData)
        : dir_(MakeTempDir(tag)), data_(data), keys_(keys), frames_(frames), seed_(seed) {}
    ~GameRun() { std::filesystem::remove_all(dir_); }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // Plays a copy of the data set without the given files (paths under the data directory),
    // as a modder's data that lost them would.
    void WithoutFiles(std::initializer_list<const char*> files) {
        data_ = dir_ / "data";
        std::filesystem::copy(kGameFlowData, data_, std::filesystem::copy_options::recursive);
        for (const char* f : files) std::filesystem::remove(data_ / f);
    }
    void DumpAt(std::initializer_list<int> frames) { dumps_.insert(dumps_.end(), frames); }
    // More options for gh02; "{dir}" stands for the run's temporary directory.
    void With(std::string options) {
        for (size_t at; (at = options.find("{dir}")) != std::string::npos;)
            options.replace(at, 5, dir_.string());
        extra_ += " " + options;
    }
    void ShotAt(std::initializer_list<int> frames) { shots_.insert(shots_.end(), frames); }
    // Environment assignments for the run ("NAME=value ...").
    std::string env;

    // The exit code (0 after the last frame).
    int Run() {
        const std::filesystem::path keys = dir_ / "keys.txt";
        std::ofstream(keys) << keys_;
        std::string args = "--headless --data " + data_.string() + " --seed " +
                           std::to_string(seed_) + " --frames " + std::to_string(frames_) +
                           " --input " + keys.string();
        for (int f : dumps_) args += " --dump-state " + std::to_string(f) + ":" + Dump(f).string();
        for (int f : shots_) args += " --screenshot " + std::to_string(f) + ":" + Shot(f).string();
        return RunGh02(args + extra_, env, &errors_, &output_);
    }
    const std::string& Errors() const { return errors_; }
    const std::string& Output() const { return output_; }

    std::filesystem::path Dump(int frame) const {
        return dir_ / ("f" + std::to_string(frame) + ".json");
    }
    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path Shot(int frame) const {
        return dir_ / ("f" + std::to_string(frame) + ".png");
    }
    nlohmann::json State(int frame) const {
        return std::filesystem::exists(Dump(frame)) ? ReadJson(Dump(frame)) : nlohmann::json();
    }

private:
    std::filesystem::path dir_, data_;
    std::string keys_, extra_, errors_, output_;
    int frames_, seed_;
    std::vector<int> dumps_, shots_;
};

// Checks a run part by part, a failure naming its part.
using RunPart = std::pair<const char*, void (*)(const GameRun&)>;
inline void CheckParts(const GameRun& run, std::initializer_list<RunPart> parts) {
    for (const auto& [what, check] : parts) {
        SCOPED_TRACE(what);
        check(run);
    }
}

// A run of the demo adventure with seed 7 and its saves in `saves` (by default a folder of the
// run's own, empty: the title's cursor starts on New game).
struct DemoRun : GameRun {
    DemoRun(const std::string& tag, const std::string& keys, int frames,
            std::filesystem::path saves = {}, const std::filesystem::path& data = kDemoData)
        : GameRun(tag, keys, frames, 7, data) {
        if (saves.empty()) saves = Dir() / "saves";
        std::filesystem::create_directories(saves);
        With("--save-dir " + saves.string());
    }
};

inline bool Near(const uint8_t* px, int r, int g, int b) {
    return std::abs(px[0] - r) <= 12 && std::abs(px[1] - g) <= 12 && std::abs(px[2] - b) <= 12;
}

// Pixels of the box (x0, y0)-(x1, y1) for which `pick` holds.
template <typename Pick>
int CountPixels(const Picture& shot, int x0, int y0, int x1, int y1, Pick pick) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (shot.Inside(x, y) && pick(shot.At(x, y))) ++n;
    return n;
}
