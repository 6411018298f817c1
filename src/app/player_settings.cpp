#include "app/player_settings.h"

#include <cstdio>
#include <filesystem>

#include "app/quit_box.h"
#include "base/bound_keys.h"
#include "base/game_file.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "base/user_folder.h"
#include "save/save_file.h"
#include "sound/sound.h"

Settings g_Settings;
void (*g_ApplyWindowSettings)(const Settings&) = nullptr;

namespace {

constexpr const char* kDataSetSettingsPath = "Datas\\Settings.ini";

struct PlayerFile {
    std::string path;      // empty: none
    std::string text;      // as read or last written
    Settings written;      // what the file holds
    bool keepOff = false;  // it could not be read: it is not written over
};
PlayerFile g_Player;

void Say(const std::string& file, const std::string& what) {
    std::fprintf(stderr, "gh02: %s: %s\n", file.c_str(), what.c_str());
}

void ReadOver(std::string_view text, const std::string& name, Settings& s, bool& parsed) {
    std::vector<std::string> problems;
    parsed = ParseSettings(text, s, problems);
    for (const std::string& p : problems) Say(name, p);
}

const char* WhyUnreadable(FileStatus status) {
    switch (status) {
        case FileStatus::kDirectory:
            return "is a folder";
        case FileStatus::kTooLong:
            return "is too long for a settings file";
        default:
            return "cannot be read";
    }
}

}  // namespace

std::string DefaultSettingsPath() {
    const std::string folder = UserFolder("XDG_CONFIG_HOME", ".config");
    if (folder.empty()) return {};
    return (std::filesystem::path(folder) / "settings.ini").string();
}

void LoadSettings(const std::string& playerFile) {
    ResetSettings();
    bool parsed = false;
    const std::string dataSetFile = std::string(GetBasePath()) + kDataSetSettingsPath;
    if (GameFileExists(dataSetFile)) {
        const FileRead file = ReadGameFile(dataSetFile, kMaxSettingsFileBytes, LongFile::kRefuse);
        if (file.Ok())
            ReadOver(file.bytes, ToUtf8(kDataSetSettingsPath), g_Settings, parsed);
        else
            Say(ToUtf8(kDataSetSettingsPath), WhyUnreadable(file.status));
    }
    g_Player.path = playerFile;
    if (!playerFile.empty()) {
        const FileRead file = ReadNativeFile(playerFile, kMaxSettingsFileBytes, LongFile::kRefuse);
        if (file.Ok()) {
            Settings mine = g_Settings;
            ReadOver(file.bytes, playerFile, mine, parsed);
            g_Player.keepOff = !parsed;
            if (parsed) g_Settings = mine;
            g_Player.text = file.bytes;
        } else if (file.status != FileStatus::kMissing) {
            Say(playerFile, std::string(WhyUnreadable(file.status)) +
                                "; the game goes on without it and does not write over it");
            g_Player.keepOff = true;
        }
        if (g_Player.keepOff) Say(playerFile, "settings changed in the game will not be kept");
    }
    // A missing file is written once something differs from what it would hold.
    g_Player.written = g_Settings;
}

bool SaveSettings() {
    PlayerFile& f = g_Player;
    if (f.path.empty() || f.keepOff || f.written == g_Settings) return !f.keepOff;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(f.path).parent_path();
    if (!folder.empty()) fs::create_directories(folder, ec);
    const std::string text = FormatSettings(g_Settings, f.text);
    std::string reason;
    if (!WriteFileAtomically(f.path, text, reason)) {
        Say(f.path, "the settings cannot be written: " + reason);
        f.written = g_Settings;  // said once; the next change tries again
        return false;
    }
    f.text = text;
    f.written = g_Settings;
    return true;
}

void ResetSettings() {
    g_Settings = Settings();
    g_Player = PlayerFile();
}

void ApplySettings() {
    const Settings& s = g_Settings;
    g_BoundKeys.bindings = s.keys;
    g_BoundKeys.padOn = s.gamepad;
    SetPlayerVolumes(s.musicVolume, s.effectVolume);
    g_RokEdgeAnswer = s.rokEdges;
    g_AskBeforeQuitting = s.askBeforeQuitting;
    if (g_ApplyWindowSettings) g_ApplyWindowSettings(s);
}
