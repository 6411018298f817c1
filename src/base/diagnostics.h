#pragma once
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// What the engine tells the person who wrote the data: faults with the file, line and column they
// come from, in English beside the game's own text, and the loaders' progress lines. Faults go to
// standard error and to the log file; progress lines to the log file only (to standard error as
// well when verbose). Nothing here writes to standard output.

struct SourcePlace {
    std::string file;  // path under the data folder with '/' separators; empty when unknown
    int line = 0;      // 1-based; 0 when unknown
    int column = 0;    // 1-based byte of the line; 0 when unknown
};

// One fault: "file:line:column: english (the game says: gameText)", leaving out what is not
// known (a place without a file is "gh02"). gameText is UTF-8.
void Diagnose(const std::string& file, int line, int column, std::string_view english,
              std::string_view gameText = {});
void Diagnose(const SourcePlace& at, std::string_view english, std::string_view gameText = {});
// The same, said once: a fault a loader meets at every load of its file (or every frame) is one
// line until ResetReportedOnce. False when it was said before.
bool DiagnoseOnce(const SourcePlace& at, std::string_view english);
// A loader's progress line ("fname = ...").
void LogProgress(std::string_view line);

// Where the engine stands in its data right now: the script runners name the script command
// being run while a script runs (the base layer knows no scripts). SourcePlace{} otherwise.
using PlaceFinder = SourcePlace (*)();
SourcePlace RunningPlace();
// Installs a finder and returns the one it replaces, for the caller to put back.
PlaceFinder SetPlaceFinder(PlaceFinder finder);

// The line and column of a byte offset of a text (lines end at '\n').
SourcePlace PlaceInText(std::string_view text, size_t offset, std::string file);
// A game path ("C:\game\SCR\test.qd" or "SCR\test.qd") as messages show it: under the data
// folder when it is inside it, with '/' separators. Shift-JIS in, UTF-8 out.
std::string ShownPath(std::string_view sjisPath);

// The log file: $GH02_LOG when set, else $XDG_STATE_HOME/gh02/gh02.log, else
// ~/.local/state/gh02/gh02.log. Empty when there is no home to put it in.
std::string DefaultLogPath();
// Where the lines go from now on; an empty path writes no log file. The file is opened on the
// first line and appended to; a log that grew past kMaxLogBytes is moved to "<path>.1" first.
void SetLogFile(const std::string& path);
constexpr size_t kMaxLogBytes = 1 << 20;
// Progress lines on standard error too (--verbose).
void SetVerbose(bool verbose);
// Faults on standard error (the default); a tool that reports them itself turns this off.
void SetFaultsOnStandardError(bool shown);
// The last fault lines of this process (at most 1000), for tools and tests.
const std::deque<std::string>& DiagnosedFaults();
void ClearDiagnosedFaults();
