#pragma once
#include <string>

#include "prop_model.h"
#include "raster.h"
#include "source_text.h"

// Static props made from a recipe name and its options, for the foreign model formats
// (docs/content.md, "Props in foreign formats"). Sizes suit the demo's characters (about 360
// units tall) and fields (cells of 1024 units); `height` scales the whole prop.
//   barrel    a bulging barrel with iron hoops and lids (smooth sides), height 190
//   signpost  a post on a stone with two pointed boards, "BASKE" and "RIVER", height 450
//   boulder   a faceted rock and a pebble beside it (two parts), height 170, `seed`
//   lantern   a street lantern: stone foot, iron post, glowing glass, roof, height 480
// False (with an error) for an unknown recipe.
bool MakePropModel(const std::string& recipe, Options& options, PropModel& model,
                   const std::string& where, int line, Diagnostics& diag);

// The picture textured materials map onto: a 4 x 4 grid of swatches (planks, dark wood, iron,
// stone, moss, brass, hoop iron, lid wood) over two painted sign boards. 128 x 128.
Image PropTexture();

// Where each swatch and board lies in PropTexture.
enum PropSwatch {
    kPropPlanks,
    kPropDarkWood,
    kPropIron,
    kPropStone,
    kPropMoss,
    kPropBrass,
    kPropHoop,
    kPropLid,
    kPropSignBaske,  // the row below the swatches
    kPropSignRiver,  // the bottom row
};
UvRect PropUv(PropSwatch swatch);
