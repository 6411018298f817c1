#pragma once
#include <map>
#include <string>
#include <vector>

// The files a build produces, held in memory by their path under the data directory ('/'
// separators, the letter case the game asks for), and written out in one pass. Keeping them
// sorted makes every listing and every write order the same from run to run.
class OutputTree {
public:
    // False when the path was produced already (two sources for one file).
    bool Add(const std::string& relativePath, std::string bytes);
    bool Has(const std::string& relativePath) const { return files_.count(relativePath) != 0; }
    const std::string* Find(const std::string& relativePath) const;
    const std::map<std::string, std::string>& Files() const { return files_; }

    // Notes that the file `from` names `path`, which must be produced too (checked at the end
    // of the build, case-insensitively, as the game looks files up).
    void Require(const std::string& from, const std::string& path) {
        required_.push_back({from, path});
    }
    struct Requirement {
        std::string from, path;
    };
    const std::vector<Requirement>& Required() const { return required_; }

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

private:
    std::map<std::string, std::string> files_;
    std::vector<Requirement> required_;
};
