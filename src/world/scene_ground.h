#pragma once
#include <cstdint>

struct QFldInfo;

// The field's sky, ground and cell objects for a given field and lighting switch (the game
// state's field: field/field_frame.h).
void DrawGround(const QFldInfo& field, int32_t groundLighting);
