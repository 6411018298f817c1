#pragma once
#include <cstdint>
#include <string>

#include "raster.h"

class RZ_Model;

// A simple humanoid for characters: boxes on a skeleton of 14 bones (the root, hips, chest,
// "head_b", two arms ending in "gua_b" (left) and "wea_b" (right), two legs), the joints of
// forearms and shins blended between two bones, one texture of colour swatches, and the
// motions the game plays by number.

struct HumanoidLook {
    float height = 360.0f;  // model units, feet at y = 0, facing +z
    uint32_t skin = 0xFFF0C8A0, hair = 0xFF503020, shirt = 0xFF3050A0, trousers = 0xFF404858,
             boots = 0xFF302418, accent = 0xFFC0A040, eyes = 0xFF202020;
    std::string texture = "humanoid.bmp";  // file name the material names (beside the model)
    // Name of motion 0: characters that stand in battle (enemies) want a "btl_" name, those
    // that stand on the field a "fld_" one, so that keeping a mode's prefix keeps it.
    std::string standName = "fld_stand";
};

// Motion slots the game plays.
constexpr int kMotionStand = 0, kMotionWalk = 1, kMotionStance = 3, kMotionWeak = 4,
              kMotionDown = 5, kMotionRun = 6, kMotionHit = 10, kMotionVictory = 11;
// Motions only technique scripts play (by number, with c10): an attack and a spell.
constexpr int kMotionSlash = 7, kMotionCast = 8;

// Fills the (reset) model.
void BuildHumanoid(const HumanoidLook& look, RZ_Model& model);
// The swatch texture the material names: 64 x 64.
Image HumanoidTexture(const HumanoidLook& look);
