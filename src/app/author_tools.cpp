#include "app/author_tools.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/settings.h"
#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "check/data_files.h"
#include "check/reference_check.h"
#include "check/script_check.h"
#include "check/table_check.h"
#include "gfx/d3d.h"
#include "gfx/image_file.h"
#include "gfx/recording_backend.h"
#include "gfx/x_mesh.h"
#include "model/model_info.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "script/qscr_org.h"
#include "sound/bgm_list.h"
#include "sound/music_stream.h"
#include "sound/wav_reader.h"
#include "world/data_tables.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/menu_actions.h"
#include "world/title_file.h"

namespace fs = std::filesystem;

namespace {

// A device that draws nowhere, so loaders can create their textures.
struct ToolDevice {
    ToolDevice() {
        auto backend = std::make_unique<RecordingBackend>();
        backend->keep = false;
        InitD3D(std::move(backend));
    }
    ~ToolDevice() { ReleaseD3D(); }
};

// The first top-level folder of a path inside the data directory, lower-cased.
std::string TopFolder(const fs::path& relative) {
    auto it = relative.begin();
    return it == relative.end() ? std::string() : AsciiLower(it->string());
}

// The title file and the menu actions: every line read as the game reads it (what they name is
// checked with the references; the menu's length there too, so the lines are read here against
// the seven entries the screen shows).
std::string CheckLinesFile(const fs::path& file, bool title) {
    const size_t limit = title ? kMaxTitleFileBytes : kMaxMenuActionsFileBytes;
    const FileRead text = ReadNativeFile(file.string(), limit, LongFile::kRefuse);
    if (!text.Ok()) return "cannot be read";
    const std::vector<std::string> problems =
        title ? ParseTitleFile(TextModeText(text.bytes)).problems
              : ParseMenuActions(TextModeText(text.bytes), kMenuEntryCount).problems;
    return problems.empty() ? std::string() : ToUtf8(problems.front());
}

// Checks one file; empty when it loaded, else the reason. Files no loader reads: "-".
std::string CheckFile(const fs::path& dataDir, const fs::path& file) {
    const fs::path rel = fs::relative(file, dataDir);
    const std::string ext = AsciiLower(file.extension().string());
    const std::string top = TopFolder(rel);
    const std::string sjisPath = ToSjis(file.string());
    if (ext == ".rzo" || ext == ".rok" || ext == ".mqo" || ext == ".mx" || ext == ".cob") {
        RZ_Model model;
        model.SetDirectory(ToSjis(file.parent_path().string() + "\\").c_str());
        if (!model.Load(g_pd3dDevice, sjisPath.c_str(), nullptr))
            return LastErrorJson().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return {};
    }
    if (ext == ".bmp" || ext == ".dds" || ext == ".png" || ext == ".tga" || ext == ".jpg" ||
        ext == ".jpeg") {
        GfxTexture* texture = nullptr;
        int32_t r = CreateTextureFromFile(g_pd3dDevice, sjisPath, &texture);
        if (!texture) return "not a readable image (" + std::to_string(r) + ")";
        texture->Release();
        return {};
    }
    if (ext == ".x") {
        XMeshData mesh;
        std::string error;
        if (!LoadXMeshFile(sjisPath, mesh, error)) return error;
        return {};
    }
    if (ext == ".wav") {
        const FileRead bytes = ReadNativeFile(file.string(), kAnyFileSize);
        if (!bytes.Ok()) return "cannot be read";
        WaveData wave;
        WaveError e = ParseWave(bytes.Data(), bytes.bytes.size(), wave);
        if (e != WaveError::kNone) return ToUtf8(WaveErrorText(e));
        return {};
    }
    if (ext == ".qf" && top == "field") {
        const FileRead text = ReadNativeFile(file.string(), kAnyFileSize);
        if (!text.Ok()) return "cannot be read";
        QFldInfo field;
        if (!field.loadText(text.bytes, sjisPath)) return "stops early";
        return {};
    }
    if (ext == ".qd" && top == "datas" && AsciiLower(file.filename().string()) == "title.qd")
        return CheckLinesFile(file, true);
    if (ext == ".qd" && top == "datas" && AsciiLower(file.filename().string()) == "mnuactions.qd")
        return CheckLinesFile(file, false);
    if (ext == ".ini" && top == "datas" && AsciiLower(file.filename().string()) == "settings.ini") {
        // The data set's settings: every value one the game can use.
        const FileRead text =
            ReadNativeFile(file.string(), kMaxSettingsFileBytes, LongFile::kRefuse);
        if (!text.Ok()) return "cannot be read";
        Settings settings;
        std::vector<std::string> problems;
        ParseSettings(text.bytes, settings, problems);
        return problems.empty() ? std::string() : problems.front();
    }
    if (ext == ".qd" && top == "bgm") {
        // The music list: every line read, every track it names decodes with its loop.
        const FileRead text = ReadNativeFile(file.string(), kAnyFileSize);
        if (!text.Ok()) return "cannot be read";
        BgmList list = ParseBgmList(text.bytes);
        if (!list.badLines.empty())
            return "line " + std::to_string(list.badLines.front()) + " cannot be read";
        for (const BgmEntry& e : list.entries) {
            std::string native = ResolveGamePath(std::string(GetBasePath()) + "BGM\\" + e.file);
            MusicStream music;
            std::string error;
            if (native.empty()) return ToUtf8(e.name) + ": no file " + ToUtf8(e.file);
            if (!music.Open(native, e.loop, e.loopStart, e.loopEnd, &error))
                return ToUtf8(e.name) + ": " + error;
        }
        return {};
    }
    if (ext == ".qd" && top == "scr") {
        // Scripts are loaded by name below SCR, without the extension.
        fs::path name = fs::relative(file, dataDir / *rel.begin());
        name.replace_extension();
        std::string n = name.string();
        std::replace(n.begin(), n.end(), '/', '\\');
        QScrOrg script;
        if (!script.Load(ToSjis(n).c_str())) return "cannot be loaded";
        return {};
    }
    return "-";
}

}  // namespace

int RunModelInfo(const std::string& nativePath) {
    ToolDevice device;
    RZ_Model model;
    fs::path p = fs::absolute(nativePath);
    model.SetDirectory(ToSjis(p.parent_path().string() + "\\").c_str());
    bool ok = model.Load(g_pd3dDevice, ToSjis(p.string()).c_str(), nullptr);
    nlohmann::json j = ok ? ModelInfoJson(model) : LastErrorJson();
    std::printf("%s\n", j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return ok ? 0 : 1;
}

namespace {

// The data folder as the shared checks read it: every file, with the bytes of the text files
// they follow names in.
DataFiles ReadDataFiles(const fs::path& dir, const std::vector<fs::path>& files) {
    DataFiles data;
    for (const fs::path& file : files) {
        const std::string ext = AsciiLower(file.extension().string());
        std::string bytes;
        if (ext == ".qd" || ext == ".qf") {
            FileRead text = ReadNativeFile(file.string(), kMaxTableFileBytes);
            bytes = std::move(text.bytes);
        }
        data.Add(fs::relative(file, dir).generic_string(), std::move(bytes));
    }
    return data;
}

// Each line of every data table reads as the game's formatted input wants it.
void CheckTables(const DataFiles& data, Diagnostics& diag) {
    for (const auto& [rel, bytes] : data.Files()) {
        if (!IsDataTable(rel)) continue;
        const std::string text = TextModeText(bytes);
        size_t start = 0;
        // Trailing empty lines are not records: the game counts lines up to the last text.
        const size_t end = text.find_last_not_of("\n \t") + 1;
        for (int line = 1; start < end; ++line) {
            size_t stop = text.find('\n', start);
            if (stop == std::string::npos) stop = text.size();
            for (const std::string& problem :
                 TableLineProblems(std::string_view(text).substr(start, stop - start), rel))
                data.Error(diag, rel, line, 0, ToUtf8(problem));
            start = stop + 1;
        }
    }
}

}  // namespace

int RunCheckData(const std::string& nativeDir) {
    std::error_code ec;
    fs::path dir = fs::absolute(nativeDir, ec);
    if (!fs::is_directory(dir, ec)) {
        std::fprintf(stderr, "gh02: --check-data: %s is not a folder\n", nativeDir.c_str());
        return 2;
    }
    SetDataDirectory(dir.string());
    ToolDevice device;
    // The loaders' faults are collected here and said once each, at their file.
    SetFaultsOnStandardError(false);
    StartFieldTables();
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    Diagnostics diag;
    int checked = 0;
    for (const fs::path& file : files) {
        g_MessageBoxLog.clear();
        ClearDiagnosedFaults();
        std::string why = CheckFile(dir, file);
        if (why == "-") continue;
        ++checked;
        // What a loader said; a name that matched no file is followed with the references,
        // which say where it was named.
        for (const std::string& fault : DiagnosedFaults()) {
            if (!why.empty()) break;
            if (fault.find(": no file matches ") != std::string::npos) continue;
            why = fault.compare(0, 6, "gh02: ") == 0 ? fault.substr(6) : fault;
        }
        if (!why.empty()) diag.Error(fs::relative(file, dir).generic_string(), 0, why);
    }
    ReleaseFieldTables();
    SetFaultsOnStandardError(true);
    // Then every name a file gives, followed as the game follows it.
    DataFiles data = ReadDataFiles(dir, files);
    CheckTables(data, diag);
    CheckScripts(data, diag);
    CheckReferences(data, diag, "not there");
    for (const std::string& m : diag.Messages()) std::printf("%s\n", m.c_str());
    const size_t problems = diag.Messages().size();
    std::printf("checked %d files: %zu problem%s\n", checked, problems, problems == 1 ? "" : "s");
    return problems ? 1 : 0;
}
