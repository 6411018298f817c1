#pragma once
#include <cstdint>

struct QFldInfo;

// The field's sky, ground and cell objects for a given field and lighting switch (the game
// state's field: field/field_frame.h). The ground is drawn from a static buffer kept on the
// device (world/ground_mesh.h) and made again only when the field changes.
void DrawGround(const QFldInfo& field, int32_t groundLighting);
// Frees the ground's buffer (the world's release; the next DrawGround makes it again).
void ReleaseGroundMesh();
