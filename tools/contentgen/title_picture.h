#pragma once
#include <cstdint>

#include "raster.h"

// The title picture (recipe `title`): Baske at dusk seen from the meadow, the master's forest on
// the hills behind it, and the adventure's name over the sky. Square; the game stretches it over
// the 640 x 480 screen.
void TitlePicture(Image& img, uint32_t seed);
