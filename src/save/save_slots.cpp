#include "save/save_slots.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/game_file.h"
#include "base/user_folder.h"

namespace fs = std::filesystem;

namespace {

std::string g_SaveGameName = "gh02";
std::string g_SaveDirectory;  // --save-dir; empty: the user's data folder

bool ValidSlot(int32_t slot) {
    return slot >= 0 && slot < kSaveSlotCount;
}

// The player's data folder for this program; with neither $XDG_DATA_HOME nor $HOME, the saves go
// under the current folder rather than nowhere.
fs::path UserDataFolder() {
    const std::string folder = UserFolder("XDG_DATA_HOME", ".local/share");
    return folder.empty() ? fs::path(".local/share/gh02") : fs::path(folder);
}

}  // namespace

void SetSaveGameName(const std::string& name) {
    g_SaveGameName = name;
}

const std::string& SaveGameName() {
    return g_SaveGameName;
}

void SetSaveDirectory(const std::string& dir) {
    g_SaveDirectory = dir;
}

std::string SaveDirectory() {
    if (!g_SaveDirectory.empty()) return g_SaveDirectory;
    return (UserDataFolder() / g_SaveGameName / "saves").string();
}

std::string SaveSlotPath(int32_t slot) {
    char name[32];
    std::snprintf(name, sizeof name, "slot%02d.json", int(slot + 1));
    return (fs::path(SaveDirectory()) / name).string();
}

DecodedSave ReadSaveFile(const std::string& nativePath) {
    const FileRead file = ReadNativeFile(nativePath, kMaxSaveFileBytes, LongFile::kRefuse);
    DecodedSave refused;
    switch (file.status) {
        case FileStatus::kRead:
            return DecodeSave(file.bytes, g_SaveGameName);
        case FileStatus::kMissing:
            refused.reason = "no such file";
            break;
        case FileStatus::kDirectory:
            refused.reason = "a folder, not a file";
            break;
        case FileStatus::kTooLong:
            refused.reason = "too long";
            break;
        default:
            refused.reason = "cannot be read";
            break;
    }
    return refused;
}

DecodedSave ReadSaveSlot(int32_t slot) {
    if (!ValidSlot(slot)) {
        DecodedSave d;
        d.reason = "no such slot";
        return d;
    }
    return ReadSaveFile(SaveSlotPath(slot));
}

std::vector<SaveSlotInfo> ListSaveSlots() {
    std::vector<SaveSlotInfo> slots(kSaveSlotCount);
    for (int32_t i = 0; i < kSaveSlotCount; ++i) {
        SaveSlotInfo& info = slots[size_t(i)];
        info.slot = i;
        std::error_code ec;
        if (!fs::exists(SaveSlotPath(i), ec)) continue;
        DecodedSave save = ReadSaveSlot(i);
        info.state = save.ok ? SlotState::kReadable : SlotState::kUnreadable;
        info.reason = save.reason;
        info.summary = save.summary;
    }
    return slots;
}

bool WriteSaveSlot(int32_t slot, const std::string& text, std::string& reason) {
    if (!ValidSlot(slot)) {
        reason = "no such slot";
        return false;
    }
    std::error_code ec;
    fs::create_directories(SaveDirectory(), ec);
    if (ec) {
        reason = "cannot make the save folder " + SaveDirectory() + ": " + ec.message();
        return false;
    }
    return WriteFileAtomically(SaveSlotPath(slot), text, reason);
}

int32_t LatestSaveSlot() {
    int32_t latest = -1;
    fs::file_time_type newest{};
    for (const SaveSlotInfo& info : ListSaveSlots()) {
        if (info.state != SlotState::kReadable) continue;
        std::error_code ec;
        const fs::file_time_type t = fs::last_write_time(SaveSlotPath(info.slot), ec);
        if (ec) continue;
        if (latest < 0 || t > newest) {
            latest = info.slot;
            newest = t;
        }
    }
    return latest;
}
