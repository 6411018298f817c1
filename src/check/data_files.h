#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/check_report.h"

// The files of a data set as its checks see them: every path under the data folder ('/'
// separators, as the files are named) with the bytes of the text files the checks read, and
// where a finding about a file is shown. The content builder fills it with what it built (and
// shows its findings at the sources); --check-data reads it from a data folder.
class DataFiles {
public:
    // False when the path is there already.
    bool Add(const std::string& relativePath, std::string bytes);
    bool Has(const std::string& relativePath) const { return files_.count(relativePath) != 0; }
    // The file at that path, found without regard to ASCII case as the game finds files when
    // it is not there as written; null when there is none.
    const std::string* Find(const std::string& relativePath) const;
    const std::map<std::string, std::string>& Files() const { return files_; }

    // Where findings about a file are shown: the file `source` (a content source, say) and, for
    // each line of the file, the line of the source it came from (lines[line - 1]; 0 or no entry:
    // the line is not shown). Without it a finding names the file itself and its own line.
    void SetSource(const std::string& relativePath, std::string source,
                   std::vector<int> lines = {});
    // A finding about line and column of a file (0: not known), shown at its source.
    void Error(Diagnostics& diag, const std::string& relativePath, int line, int column,
               const std::string& what) const;
    // A file whose own error has been reported: what names it is not reported again.
    void MarkBroken(const std::string& relativePath) { broken_.insert(relativePath); }

    // Notes that the file `from` names `path` at that line and column (0: none), which must be
    // there too. Checked by CheckRequired, without regard to ASCII case as the game looks files
    // up.
    void Require(const std::string& from, int line, const std::string& path, int column = 0);
    // The same where `from` is shown as it is (a content source with its line, say).
    void Require(const std::string& from, const std::string& path) { Require(from, 0, path); }
    struct Requirement {
        std::string from;  // a file of the set, or a source shown as it is
        int line = 0;
        std::string path;
        int column = 0;
    };
    const std::vector<Requirement>& Required() const { return required_; }
    // Reports every required file that is not there (once per file that names it and path),
    // except those that are broken themselves.
    void CheckRequired(Diagnostics& diag, const std::string& verb) const;

private:
    struct Source {
        std::string name;
        std::vector<int> lines;
    };
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> lowerNames_;  // lower-cased path -> path
    std::map<std::string, Source> sources_;
    std::set<std::string> broken_;
    std::vector<Requirement> required_;
};
