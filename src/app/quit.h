#pragma once

// What Escape releases before the window closes: character models, interface textures, the
// game-state record and the battle object. Each world folder adds its part here.
void ReleaseWorldOnQuit();
// Ends the game as Escape does: the world released, then the window closed without asking.
void EndGame();
