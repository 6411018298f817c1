#pragma once
#include <functional>
#include <string>
#include <vector>

// Where the game's data is. The folder --data names is taken as it is; else the first of these
// that holds a game: the executable's own folder (a build, or a game unpacked in one folder),
// share/gh02 beside the executable's folder (an installed program: /usr/games/gh02 reads
// /usr/share/gh02), and gh02 in every folder of $XDG_DATA_DIRS (/usr/local/share and /usr/share
// when it is unset or empty; relative entries are left out, as the base directory rules say).
struct DataSearch {
    std::string dir;                    // the folder chosen; empty when none held a game
    std::vector<std::string> searched;  // the folders looked in, in order, each once
};

// `given`: what --data names (empty: none). `holdsGame` says whether a folder holds a game.
DataSearch FindDataDirectory(const std::string& given, const std::string& executableDir,
                             const char* xdgDataDirs,
                             const std::function<bool(const std::string&)>& holdsGame);

// The folders searched, as a message names them: "A, B or C".
std::string SearchedFolders(const DataSearch& search);
