#pragma once
#include <string>

#include "mesh_builder.h"
#include "source_text.h"

// Meshes made from a recipe name and its options (docs/content.md, "Meshes"): house, tree,
// well, rock, bridge, fence (field props, on the "props" atlas), sword, axe, shield (equipment,
// on the "weapons" atlas), arena (the battle ground, one picture over it). Units are world
// units for props and equipment; the battle ground is drawn 40 times larger than it is made.
bool MakeMesh(const std::string& recipe, Options& options, MeshBuilder& mesh,
              const std::string& where, int line, Diagnostics& diag);

// A swatch of a 4 x 4 atlas.
UvRect AtlasSwatch(int swatch);
