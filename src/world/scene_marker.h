#pragma once

// The marker over the acting party member while the battle menu is up: a translucent pyramid
// pointing down at the fighter, 512 units above it, with a square lid, turning by a quarter
// degree per millisecond. angleDegrees is the turn kept by the battle; actor is a character
// slot (others draw nothing).
void DrawActorMarker(float& angleDegrees, int actor);
