#pragma once
#include <cstdint>
#include <string>

// The first frame and the start of a new game: render states, lighting, the data every mode
// needs, the player's party and the first field with its script.

// The initial frame handler: camera start values, render states, lighting, GameStart; the field
// frame runs from the next frame on.
void StartupFrame();
// What the first frame sets before the game's data: the frame handlers the menu-screen fade
// switches between, what the save screen writes the game with, the camera's start values and the
// scene's view of it, the render states and the lighting (a loaded game starts from it too).
void SetUpFirstFrame();
// Material, light 0 and the lighting render states.
void SetupLighting();
// Everything a new game loads and sets, ending with the party bound to its fighter slots; the
// field commands are installed and every enemy slot reads enemy 0 again.
void GameStart();
// Whether the data folder holds a game to start: the script every new game starts from
// (SCR\test.qd). False, with what is missing in `why`, when it is not there.
bool GameDataPresent(std::string& why);
