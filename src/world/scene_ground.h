#pragma once
#include <cstdint>

struct QFldInfo;

// The field's sky, ground and cell objects from g_pGameState's field (the sky alone while
// there is no game state).
void DrawGround();
// The same for a given field and lighting switch.
void DrawGround(const QFldInfo& field, int32_t groundLighting);
