#include "build_content.h"

#include <algorithm>
#include <filesystem>

#include "asset_builders.h"
#include "audio_synth.h"
#include "check/reference_check.h"
#include "check/script_check.h"
#include "field_source.h"
#include "music.h"
#include "platform/iconv_codec.h"
#include "text_convert.h"

namespace fs = std::filesystem;

namespace {

// Regular files below dir, sorted, as paths relative to dir with '/' separators.
std::vector<std::string> ListFiles(const fs::path& dir) {
    std::vector<std::string> files;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return files;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string rel = fs::relative(it->path(), dir).generic_string();
        // Editor leftovers never become game data.
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || name.back() == '~') continue;
        files.push_back(rel);
    }
    std::sort(files.begin(), files.end());
    return files;
}

void Produce(OutputTree& out, const std::string& rel, std::string bytes, const std::string& source,
             Diagnostics& diag) {
    if (!out.Add(rel, std::move(bytes))) diag.Error(source, 0, rel + " is produced twice");
}

// A file whose source has an error of its own is not built, and what names it is not reported
// again.
void BuildTexts(const fs::path& dir, OutputTree& out, Diagnostics& diag) {
    IconvCodec codec;
    for (const std::string& rel : ListFiles(dir)) {
        std::string utf8, sjis;
        std::vector<int> lines;
        if (!ReadWholeFile((dir / rel).string(), utf8)) {
            diag.Error("text/" + rel, 0, "cannot be read");
            out.MarkBroken(rel);
            continue;
        }
        if (ConvertTextSource(codec, utf8, rel, sjis, diag, &lines)) {
            Produce(out, rel, sjis, "text/" + rel, diag);
            out.SetSource(rel, "text/" + rel, std::move(lines));
        } else {
            out.MarkBroken(rel);
        }
    }
}

void BuildFields(const fs::path& dir, OutputTree& out, Diagnostics& diag) {
    for (const std::string& rel : ListFiles(dir)) {
        const fs::path p(rel);
        if (p.extension() != ".field") continue;
        std::string text;
        FieldSource field;
        const std::string where = "fields/" + rel;
        const std::string qf = "Field/" + p.stem().string() + ".qf";
        if (!ReadWholeFile((dir / rel).string(), text) ||
            !ParseFieldSource(text, where, field, diag)) {
            if (text.empty()) diag.Error(where, 0, "cannot be read");
            out.MarkBroken(qf);
            continue;
        }
        // The names the field file hands to the loaders are checked with the references.
        Produce(out, qf, WriteFieldFile(field), where, diag);
        out.SetSource(qf, where);
    }
}

void BuildMusic(const fs::path& dir, OutputTree& out, Diagnostics& diag) {
    std::vector<Song> songs;
    for (const std::string& rel : ListFiles(dir)) {
        if (fs::path(rel).extension() != ".song") continue;
        std::string text;
        Song song;
        const std::string where = "music/" + rel;
        if (!ReadWholeFile((dir / rel).string(), text) || !ParseSong(text, where, song, diag))
            continue;
        std::string error;
        std::string flac = EncodeFlac(ToPcm16(RenderSong(song), 0.9f), song.rate, error);
        if (flac.empty()) {
            diag.Error(where, 0, error);
            continue;
        }
        Produce(out, "BGM/" + song.file, std::move(flac), where, diag);
        songs.push_back(song);
    }
    if (songs.empty()) return;
    std::sort(songs.begin(), songs.end(),
              [](const Song& a, const Song& b) { return a.name < b.name; });
    std::string list = "# name file loopStart loopEnd (sample frames) -- written by contentgen\r\n";
    for (const Song& s : songs) list += MusicListLine(s) + "\r\n";
    Produce(out, "BGM/BGMData.qd", list, "music/", diag);
}

}  // namespace

bool BuildContent(const std::string& contentDir, OutputTree& out, Diagnostics& diag) {
    const fs::path root(contentDir);
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        diag.Error(contentDir, 0, "is not a directory");
        return false;
    }
    BuildTexts(root / "text", out, diag);
    BuildFields(root / "fields", out, diag);
    BuildMusic(root / "music", out, diag);
    std::string assets;
    if (ReadWholeFile((root / "assets.txt").string(), assets))
        BuildAssets(assets, "assets.txt", out, diag);
    CheckScripts(out, diag);
    CheckReferences(out, diag, "not built");
    return diag.Ok();
}
