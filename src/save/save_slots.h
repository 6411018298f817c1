#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "save/save_file.h"

// The save slots of the game that is played: files "slot01.json" .. in its save folder.

constexpr int32_t kSaveSlotCount = 8;

// The name saves are kept under and checked against: the data set's own (its title file) or
// one made from the data folder. Set once the data set is known.
void SetSaveGameName(const std::string& name);
const std::string& SaveGameName();

// Where the saves go: the folder --save-dir gave, else $XDG_DATA_HOME/gh02/<game>/saves
// (~/.local/share/... when XDG_DATA_HOME is unset or not absolute). An empty `dir` forgets a
// folder given before.
void SetSaveDirectory(const std::string& dir);
std::string SaveDirectory();
// The native path of slot 0 .. kSaveSlotCount - 1.
std::string SaveSlotPath(int32_t slot);

enum class SlotState { kEmpty, kReadable, kUnreadable };

struct SaveSlotInfo {
    int32_t slot = 0;
    SlotState state = SlotState::kEmpty;
    std::string reason;  // why an unreadable slot cannot be loaded
    SaveSummary summary;
};

// Every slot as it is on disk now. Reading a slot never changes it.
std::vector<SaveSlotInfo> ListSaveSlots();

// Reads the save of a slot, or of a file anywhere (a native path). `reason` says why it cannot
// be loaded when the result is not ok.
DecodedSave ReadSaveSlot(int32_t slot);
DecodedSave ReadSaveFile(const std::string& nativePath);

// Writes the text into the slot (creating the save folder when needed); false with the reason,
// the slot's old save untouched, when it cannot.
bool WriteSaveSlot(int32_t slot, const std::string& text, std::string& reason);

// The readable slot saved last (by its modification time), or -1 when there is none.
int32_t LatestSaveSlot();
