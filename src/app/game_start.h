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
// Where a new game starts: its field, the field script and the label the script starts at
// (empty: from the script's start). The game's own start unless an author's --start moves it.
struct StartPlace {
    std::string field = "baske0";
    std::string script = "test";
    std::string label;
    bool moved = false;  // --start gave it: the first frame starts the game, without a title
};
extern StartPlace g_StartPlace;
// "FIELD[:SCRIPT[:LABEL]]" (UTF-8 names as the data has them; the script defaults to the field's
// name). False, with the reason in `why`, for an empty field or too long a name.
bool ParseStartPlace(const std::string& text, StartPlace& out, std::string& why);
// Whether the data folder holds a game to start: the script and the field a new game starts
// from. False, with one line naming the folder (or `where`, the folders searched, when given)
// and what is missing in `why`, when it does not.
bool GameDataPresent(std::string& why, const std::string& where = "");
