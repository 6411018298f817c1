#pragma once
#include <cstdint>
#include <string>

#include "app/game_snapshot.h"
#include "save/save_slots.h"

// Keeping the game in save slots and taking it up again. A save is made only where the game
// can stop (on the field or its menu screen, no battle, no fade, no change of mode); a load
// reads and checks the whole save before anything of the running game changes.

// Chooses the name the data set's saves are kept under (the save folder's name, and what a
// save is checked against): the title file's (ReadTitleFile first), else one made from the data
// folder's path.
void ChooseSaveGameName();

// What the slot list shows of the game now.
SaveSummary CurrentSaveSummary();
// Writes the game into the slot; false with the reason (nothing written) when the game cannot
// be saved now or the file cannot be written (the slot's old save stays as it was).
bool SaveGame(int32_t slot, std::string& reason);

// A save read and checked, ready to be put in place.
struct LoadableGame {
    bool ok = false;
    std::string reason;
    GameSnapshot snapshot;
};
LoadableGame ReadGameFromSlot(int32_t slot);
LoadableGame ReadGameFromFile(const std::string& nativePath);
// Resets the world and puts the saved game in place; the next frame goes on from it.
void StartLoadedGame(const LoadableGame& game);
