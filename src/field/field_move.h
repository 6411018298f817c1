#pragma once
#include <cstdint>

#include "math/math_scalar.h"

struct QFldInfo;

// Walking on the field: the ground under a point, the collision squares of characters and one
// step of a character with everything a step of the leader sets off.

// Height of the ground at world (x, z): the height grid split into two triangles per cell.
// Corners outside the grid take the height of the nearest corner inside it.
float GroundHeight(float x, float z);
// The same on a given field.
float GroundHeightOn(const QFldInfo& field, float x, float z);

// 1 when character b is active, is not a, and its collision square overlaps a's; else 0.
// A square runs from the position (x, z) to (x + size, z - size).
int32_t CharactersOverlap(int32_t a, int32_t b);

// One step of character `index` by distance at facing: x and z are each tried and undone when
// they lead into a blocked cell or onto another character; the character then stands on the
// ground. For the leader (character 0) the camera follows, and the cell stepped into may start
// its place label or an encounter. Cells outside the grid count as blocked.
void MoveCharacter(int32_t index, float distance, float facing);

// The first other active character whose square, enlarged by 1.2, overlaps the speaker's
// enlarged square moved 32 units ahead; 0 when nobody is there (so character 0 is never one).
int32_t FindSpeakTarget(int32_t index);

// The cell column of x and the cell row of z (both truncated toward zero).
int32_t CellColumn(float x);
int32_t CellRow(float z);
// True for a cell inside the 32 x 32 grid.
bool CellInGrid(int32_t column, int32_t row);
