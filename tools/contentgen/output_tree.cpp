#include "output_tree.h"

#include <filesystem>
#include <fstream>

#include "source_text.h"

namespace fs = std::filesystem;

namespace {

bool WriteIfChanged(const fs::path& path, const std::string& bytes, bool& changed,
                    std::string& error) {
    std::string old;
    changed = !(ReadWholeFile(path.string(), old) && old == bytes);
    if (!changed) return true;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    // Written beside the target and renamed over it, so a reader never sees half a file.
    fs::path temp = path;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        error = "cannot replace " + path.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

OutputTree::WriteResult OutputTree::Write(const std::string& outDir,
                                          const std::string& manifestPath) const {
    WriteResult r;
    const fs::path root(outDir);
    std::string manifest;
    for (const auto& [rel, bytes] : Files()) {
        bool changed = false;
        std::string error;
        if (!WriteIfChanged(root / fs::path(rel), bytes, changed, error)) {
            r.ok = false;
            r.errors.push_back(error);
            continue;
        }
        changed ? ++r.written : ++r.unchanged;
        manifest += rel + "\n";
    }
    if (manifestPath.empty()) return r;
    std::string previous;
    if (ReadWholeFile(manifestPath, previous)) {
        for (const SourceLine& line : SplitLines(previous)) {
            if (line.text.empty() || Has(line.text)) continue;
            // Only names this builder wrote itself are removed; never anything outside outDir.
            if (line.text.find("..") != std::string::npos || line.text.front() == '/') continue;
            std::error_code ec;
            if (fs::remove(root / fs::path(line.text), ec)) ++r.removed;
        }
    }
    std::ofstream out(manifestPath, std::ios::binary | std::ios::trunc);
    out << manifest;
    if (!out) {
        r.ok = false;
        r.errors.push_back("cannot write the manifest " + manifestPath);
    }
    return r;
}
