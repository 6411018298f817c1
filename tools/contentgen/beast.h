#pragma once
#include <cstdint>
#include <string>

#include "raster.h"

class RZ_Model;

// A four-legged monster: a body in two halves (hips and chest), a head with a jaw, ears and a
// tail, four legs with a joint each. It carries the bones the game looks for ("head_b"; the
// jaw is "wea_b", the tail "gua_b"), so loading it reports nothing, and the motions the game
// plays by number, with the same slots and names as the humanoid. Feet at y = 0, facing +z.

struct BeastLook {
    float height = 260.0f;  // model units to the top of the ears
    uint32_t fur = 0xFF707070, belly = 0xFFB0A890, mane = 0xFF404040, eyes = 0xFFE0C020,
             claws = 0xFFE8E0D0;
    std::string texture = "beast.bmp";
    std::string standName = "btl_stand";  // motion 0: beasts stand in battle
};

void BuildBeast(const BeastLook& look, RZ_Model& model);
// The swatch texture the material names: 64 x 64.
Image BeastTexture(const BeastLook& look);
