#include "app/options.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// What a headless run was asked for but would silently not do.
void WarnAboutHeadlessOptions(const Options& o) {
    const uint64_t last = o.plan.frames - 1;
    auto past = [&](const auto& byFrame, const char* what) {
        for (const auto& [frame, list] : byFrame)
            if (frame > last)
                std::cerr << "gh02: " << what << " at frame " << frame
                          << " is past the last frame (" << last << "); it is not done\n";
    };
    past(o.plan.dumps, "--dump-state");
    past(o.plan.screenshots, "--screenshot");
    past(o.plan.saves, "--save-at");
    if (!o.recordFile.empty())
        std::cerr << "gh02: --record records interactive play; a headless run writes no "
                     "recording (its --input is one)\n";
}

}  // namespace

int ParseOptions(int argc, char** argv, Options& o, const std::string& version) {
    CLI::App app{"GH02 - the engine and its demo adventure"};
    app.set_version_flag("--version", version, "Print the version and end");
    app.add_flag("--windowed", o.windowed,
                 "Start in a window, as big as the screen allows (Alt+Enter toggles)");
    app.add_flag("--headless", o.headless,
                 "Run without a window on a virtual clock (tests, screenshots, state dumps)");
    auto* frames = app.add_option("--frames", o.plan.frames,
                                  "Headless: frames to run (default: a recording's, else 600)")
                       ->check(CLI::Range(uint64_t(1), uint64_t(1) << 40));
    app.add_option("--frame-ms", o.plan.frameMs, "Headless: milliseconds every frame takes (17)")
        ->check(CLI::Range(1u, 10000u));
    app.add_option("--input", o.inputFile,
                   "Headless: key timeline (\"<frame> <key> <down|up>\") or a recording to replay");
    app.add_option("--record", o.recordFile,
                   "Write this session as a key timeline that a headless run replays exactly");
    auto* seed = app.add_option("--seed", o.seed, "Seed of the random generator (default: clock)");
    std::vector<std::string> shots, dumps;
    app.add_option("--screenshot", shots, "FRAME:FILE.png at the end of that frame (repeatable)");
    app.add_option("--dump-state", dumps, "FRAME:FILE.json at the end of that frame (repeatable)");
    bool drawEvery = false;
    app.add_flag("--draw-every-frame", drawEvery,
                 "Headless: draw every frame, not only those with a screenshot");
    app.add_flag("--single-instance", o.singleInstance, "Headless: take the single-instance lock");
    app.add_option("--data", o.dataDir,
                   "Data directory (default: the first that holds a game of the executable's, "
                   "../share/gh02 from it, gh02 in $XDG_DATA_DIRS)");
    std::string scale = "fit";
    auto* scaleOption = app.add_option("--scale", scale, "Picture scaling: fit or integer")
                            ->check(CLI::IsMember({"fit", "integer"}));
    app.add_option("--config", o.configFile,
                   "Settings file to read and write (default: $XDG_CONFIG_HOME/gh02/settings.ini; "
                   "headless runs read one only when given)");
    app.add_option("--check-data", o.checkDataDir,
                   "Load every file of a data directory and list failures");
    app.add_option("--model-info", o.modelInfoFile, "Print a model as loaded");
    app.add_flag("--verbose", o.verbose,
                 "Also write the loaders' progress lines on standard error");
    auto* log = app.add_option("--log", o.logFile,
                               "Log file of the data's faults and the loaders' progress (default: "
                               "$GH02_LOG, else $XDG_STATE_HOME/gh02/gh02.log; \"\" for none)");
    app.add_flag("--dev", o.dev,
                 "Authoring keys: F5 reloads the field and its script from disk where the leader "
                 "stands, F6 shows the field, script, label and script position");
    app.add_option("--start", o.start,
                   "Start a new game on FIELD, with SCRIPT (default: FIELD's name) at LABEL "
                   "(FIELD[:SCRIPT[:LABEL]], names as in the data: baske0:test:PLACE3)");
    app.add_option("--save-dir", o.saveDir,
                   "Folder of the save slots (default: $XDG_DATA_HOME/gh02/<game>/saves)");
    app.add_option("--load", o.loadFrom, "Start from a saved game: a slot 1-8 or a save file");
    std::vector<std::string> saves;
    app.add_option("--save-at", saves,
                   "Headless: FRAME:SLOT saves the game into slot 1-8 at the end of that frame");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    o.seedGiven = seed->count() > 0;
    o.logGiven = log->count() > 0;
    o.plan.drawOnlyCaptured = !drawEvery;
    o.scale = scale == "integer" ? ScaleMode::Integer : ScaleMode::Fit;
    o.scaleGiven = scaleOption->count() > 0;
    auto addFrames = [](const std::vector<std::string>& list, auto& into, const char* what) {
        for (const std::string& s : list) {
            uint64_t frame;
            std::string file;
            if (!ParseFrameFile(s, frame, file)) {
                std::cerr << "gh02: " << what << " wants FRAME:FILE, not \"" << s << "\"\n";
                return false;
            }
            into[frame].push_back(file);
        }
        return true;
    };
    if (!addFrames(shots, o.plan.screenshots, "--screenshot") ||
        !addFrames(dumps, o.plan.dumps, "--dump-state"))
        return 2;
    for (const std::string& s : saves) {
        uint64_t frame;
        std::string slot;
        if (!ParseFrameFile(s, frame, slot) || slot.size() != 1 || slot[0] < '1' || slot[0] > '8') {
            std::cerr << "gh02: --save-at wants FRAME:SLOT with a slot 1-8, not \"" << s << "\"\n";
            return 2;
        }
        o.plan.saves[frame].push_back(slot[0] - '1');
    }
    if (!o.inputFile.empty()) {
        std::error_code ec;
        if (std::filesystem::is_directory(o.inputFile, ec)) {
            std::cerr << "gh02: --input " << o.inputFile << " is a folder, not a key timeline\n";
            return 2;
        }
        std::ifstream in(o.inputFile, std::ios::binary);
        if (!in) {
            std::cerr << "gh02: cannot read the key timeline " << o.inputFile << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseInputTimeline(text.str(), o.plan.input, error)) {
            std::cerr << "gh02: " << o.inputFile << ": " << error << "\n";
            return 2;
        }
        if (frames->count() == 0 && o.plan.input.frames) o.plan.frames = *o.plan.input.frames;
    }
    if (o.headless) WarnAboutHeadlessOptions(o);
    return -1;
}
