#pragma once
#include <string>

#include "raster.h"
#include "source_text.h"

// Pictures made from a recipe name and its options (docs/content.md, "Images"):
//   tile     ground texture: kind=grass|dirt|path|stone|sand|water, seed, size
//   sky      sky box face: face=top|side, seed, size, colours top= horizon=
//   face     portrait: skin= hair= eyes= back=
//   sprite   billboard picture with alpha: kind=flower|smoke|bush|sparkle
//   cursor   the target cursor (32 x 32)
//   labels   the interface labels the game cuts out of its label sheet
//   atlas    4 x 4 swatches of patterns for meshes: kind=props|weapons|ground
//   title    the title picture of the demo adventure
// Size is square and should be a multiple of 4 (BMP rows then carry no padding).
Image MakeImage(const std::string& recipe, Options& options, const std::string& where, int line,
                Diagnostics& diag);

// Where the label sheet's pictures lie: the game cuts them out at these rectangles.
struct LabelRect {
    const char* what;
    int x, y, w, h;
};
extern const LabelRect kLabelRects[5];
