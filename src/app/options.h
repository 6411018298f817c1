#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/headless.h"

enum class ScaleMode { Fit, Integer };

struct Options {
    bool windowed = false;
    bool headless = false;
    bool singleInstance = false;  // headless runs take the lock only when asked
    bool seedGiven = false;
    uint32_t seed = 0;
    std::string dataDir;
    std::string inputFile;
    std::string recordFile;
    std::string checkDataDir;
    std::string modelInfoFile;
    std::string saveDir;   // --save-dir: where the save slots are
    std::string loadFrom;  // --load: a slot number (1-8) or a save file
    ScaleMode scale = ScaleMode::Fit;
    bool scaleGiven = false;  // --scale was given: it wins over the settings for this run
    std::string configFile;   // --config: the settings file instead of the user's
    bool verbose = false;     // --verbose: the loaders' progress lines on standard error too
    bool logGiven = false;    // --log: the log file (empty: none) instead of the default
    std::string logFile;
    bool dev = false;   // --dev: the authoring keys (reload, where the game stands)
    std::string start;  // --start FIELD[:SCRIPT[:LABEL]]: where a new game starts
    HeadlessPlan plan;  // frames, frame length, screenshots and dumps
};

// Parses the command line. Returns -1 to go on, or an exit code (help or `version`, which
// --version prints, printed: 0, error: 2) after printing to stdout/stderr. Reads the --input file
// into the plan.
int ParseOptions(int argc, char** argv, Options& out, const std::string& version);
