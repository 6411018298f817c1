#include "app/author_tools.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/settings.h"
#include "app/title_file.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
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

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The first top-level folder of a path inside the data directory, lower-cased.
std::string TopFolder(const fs::path& relative) {
    auto it = relative.begin();
    return it == relative.end() ? std::string() : Lower(it->string());
}

// The title file: every line read, its picture an image, its music a name of the music list.
std::string CheckTitleFile(const fs::path& file) {
    const FileRead text = ReadNativeFile(file.string(), kMaxTitleFileBytes, LongFile::kRefuse);
    if (!text.Ok()) return "cannot be read";
    const TitleFile title = ParseTitleFile(TextModeText(text.bytes));
    if (!title.problems.empty()) return ToUtf8(title.problems.front());
    if (!title.picture.empty()) {
        GfxTexture* texture = nullptr;
        CreateTextureFromFile(g_pd3dDevice, std::string(GetBasePath()) + title.picture, &texture);
        if (!texture) return "picture " + ToUtf8(title.picture) + " is not a readable image";
        texture->Release();
    }
    if (!title.music.empty()) {
        const FileRead list =
            ReadGameFile(std::string(GetBasePath()) + "BGM\\BGMData.qd", kAnyFileSize);
        if (!list.Ok() || !FindBgm(ParseBgmList(list.bytes), title.music))
            return "music " + ToUtf8(title.music) + " is not in BGM/BGMData.qd";
    }
    return {};
}

// The menu actions: every line read against the data set's menu table, and every label to run
// a label of one of its field scripts.
std::string CheckMenuActionsFile(const fs::path& dataDir, const fs::path& file) {
    const FileRead text =
        ReadNativeFile(file.string(), kMaxMenuActionsFileBytes, LongFile::kRefuse);
    if (!text.Ok()) return "cannot be read";
    const FileRead menu =
        ReadGameFile(std::string(GetBasePath()) + "Datas\\MnuDatas.qd", kMaxTableFileBytes);
    const MenuActions actions =
        ParseMenuActions(TextModeText(text.bytes), menu.Ok() ? CountTableLines(menu.bytes) : 0);
    if (!actions.problems.empty()) return ToUtf8(actions.problems.front());
    std::error_code ec;
    for (const MenuEntryAction& a : actions.entries) {
        if (a.action != MenuAction::kScript) continue;
        bool found = false;
        for (fs::directory_iterator it(dataDir / "SCR", ec), end; !ec && it != end && !found;
             it.increment(ec)) {
            if (!it->is_regular_file(ec) || Lower(it->path().extension().string()) != ".qd")
                continue;
            const FileRead script = ReadNativeFile(it->path().string(), kAnyFileSize);
            found = script.Ok() && script.bytes.find("@:" + a.label + "//") != std::string::npos;
        }
        if (!found)
            return "line " + std::to_string(a.line) + ": no field script has the label " +
                   ToUtf8(a.label);
    }
    return {};
}

// Checks one file; empty when it loaded, else the reason. Files no loader reads: "-".
std::string CheckFile(const fs::path& dataDir, const fs::path& file) {
    const fs::path rel = fs::relative(file, dataDir);
    const std::string ext = Lower(file.extension().string());
    const std::string top = TopFolder(rel);
    const std::string sjisPath = ToSjis(file.string());
    if (ext == ".rzo" || ext == ".rok" || ext == ".mqo" || ext == ".mx" || ext == ".cob") {
        RZ_Model model;
        model.SetDirectory(ToSjis(file.parent_path().string() + "\\").c_str());
        if (!model.Load(g_pd3dDevice, sjisPath.c_str(), nullptr))
            return LastErrorJson().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        // Loading a rok file always asks whether to read its edges: a question, not a fault.
        std::erase_if(g_MessageBoxLog, [](const MessageBoxRecord& r) {
            return r.text == "辺データを読込みますか？";
        });
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
    if (ext == ".qd" && top == "datas" && Lower(file.filename().string()) == "title.qd")
        return CheckTitleFile(file);
    if (ext == ".qd" && top == "datas" && Lower(file.filename().string()) == "mnuactions.qd")
        return CheckMenuActionsFile(dataDir, file);
    if (ext == ".ini" && top == "datas" && Lower(file.filename().string()) == "settings.ini") {
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
    g_RzDiagStream = stderr;  // standard output carries only the JSON
    RZ_Model model;
    fs::path p = fs::absolute(nativePath);
    model.SetDirectory(ToSjis(p.parent_path().string() + "\\").c_str());
    bool ok = model.Load(g_pd3dDevice, ToSjis(p.string()).c_str(), nullptr);
    nlohmann::json j = ok ? ModelInfoJson(model) : LastErrorJson();
    std::printf("%s\n", j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return ok ? 0 : 1;
}

int RunCheckData(const std::string& nativeDir) {
    std::error_code ec;
    fs::path dir = fs::absolute(nativeDir, ec);
    if (!fs::is_directory(dir, ec)) {
        std::fprintf(stderr, "gh02: %s is not a directory\n", nativeDir.c_str());
        return 1;
    }
    SetDataDirectory(dir.string());
    ToolDevice device;
    g_RzDiagStream = stderr;
    StartFieldTables();
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    int checked = 0, failed = 0;
    for (const fs::path& file : files) {
        g_MessageBoxLog.clear();
        std::string why = CheckFile(dir, file);
        if (why == "-") continue;
        ++checked;
        if (why.empty() && !g_MessageBoxLog.empty()) why = g_MessageBoxLog.front().text;
        if (!why.empty()) {
            ++failed;
            std::printf("FAIL %s: %s\n", fs::relative(file, dir).string().c_str(), why.c_str());
        }
    }
    ReleaseFieldTables();
    std::printf("checked %d files, %d failed\n", checked, failed);
    return failed ? 1 : 0;
}
