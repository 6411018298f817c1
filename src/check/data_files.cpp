#include "check/data_files.h"

#include "base/ascii.h"

#include <utility>

bool DataFiles::Add(const std::string& relativePath, std::string bytes) {
    if (!files_.emplace(relativePath, std::move(bytes)).second) return false;
    lowerNames_.emplace(AsciiLower(relativePath), relativePath);
    return true;
}

const std::string* DataFiles::Find(const std::string& relativePath) const {
    auto it = files_.find(relativePath);
    if (it != files_.end()) return &it->second;
    auto lower = lowerNames_.find(AsciiLower(relativePath));
    return lower == lowerNames_.end() ? nullptr : &files_.at(lower->second);
}

void DataFiles::SetSource(const std::string& relativePath, std::string source,
                          std::vector<int> lines) {
    sources_[relativePath] = Source{std::move(source), std::move(lines)};
}

void DataFiles::Error(Diagnostics& diag, const std::string& relativePath, int line, int column,
                      const std::string& what) const {
    auto it = sources_.find(relativePath);
    if (it == sources_.end()) {
        diag.Error(relativePath, line, column, what);
        return;
    }
    const std::vector<int>& lines = it->second.lines;
    const int sourceLine = line > 0 && size_t(line) <= lines.size() ? lines[size_t(line - 1)] : 0;
    diag.Error(it->second.name, sourceLine, sourceLine > 0 ? column : 0, what);
}

void DataFiles::Require(const std::string& from, int line, const std::string& path, int column) {
    required_.push_back({from, line, path, column});
}

void DataFiles::CheckRequired(Diagnostics& diag, const std::string& verb) const {
    std::set<std::pair<std::string, std::string>> said;
    for (const Requirement& r : required_) {
        if (Find(r.path) || broken_.count(r.path) || broken_.count(r.from)) continue;
        if (!said.insert({r.from + ":" + std::to_string(r.line), AsciiLower(r.path)}).second)
            continue;
        Error(diag, r.from, r.line, r.column, "names " + r.path + ", which is " + verb);
    }
}
