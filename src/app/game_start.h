#pragma once
#include <cstdint>

// The first frame and the start of a new game: render states, lighting, the data every mode
// needs, the player's party and the first field with its script.

// The initial frame handler: camera start values, render states, lighting, GameStart; the field
// frame runs from the next frame on.
void StartupFrame();
// Material, light 0 and the lighting render states.
void SetupLighting();
// Everything a new game loads and sets, ending with the party bound to its fighter slots; the
// field commands are installed and every enemy slot reads enemy 0 again.
void GameStart();
