#pragma once

// One animation step and the drawing of every active character with its weapon (the guard is
// never drawn). Lighting on, material colours, no vertex colour.
void DrawCharacters();
