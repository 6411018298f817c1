#pragma once
#include <string>
#include <vector>

#include "check/data_files.h"

// The files a build produces, held in memory by their path under the data directory ('/'
// separators, the letter case the game asks for; DataFiles, which the checks read), and written
// out in one pass. Keeping them sorted makes every listing and every write order the same from
// run to run.
class OutputTree : public DataFiles {
public:
    struct WriteResult {
        bool ok = true;
        int written = 0;    // files whose bytes changed (or that were new)
        int unchanged = 0;  // left alone, so their times stay and dependants do not rebuild
        int removed = 0;    // produced by the previous build but not by this one
        std::vector<std::string> errors;
    };
    // Writes every file below outDir. With a manifest path, files listed there by the previous
    // build and not produced now are removed, and the manifest is rewritten with this build's
    // list (the manifest doubles as the build's stamp).
    WriteResult Write(const std::string& outDir, const std::string& manifestPath) const;
};
