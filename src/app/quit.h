#pragma once

// What Escape releases before the window closes: character models, interface textures, the
// game-state record and the battle object. Each world folder adds its part here.
void ReleaseWorldOnQuit();
