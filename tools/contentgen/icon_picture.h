#pragma once
#include <string>

#include "raster.h"

// The program's icon for the desktop's menus: a house of Baske with lit windows under the moon,
// a tree beside it, on a rounded square of dusk sky like the title picture's. It is drawn from a
// few flat shapes, so that the same drawing gives the pictures at every size and the SVG.

// The icon as a size x size picture with alpha, every pixel sampled 4 x 4 times.
Image IconPicture(int size);
// The same icon as an SVG document.
std::string IconSvg();

// Writes the icons as the desktop's icon theme lays them out under outDir:
// hicolor/<n>x<n>/apps/gh02.png for 48, 128 and 256, and hicolor/scalable/apps/gh02.svg.
// False, with the file that failed in `error`, when one cannot be written.
bool WriteIcons(const std::string& outDir, std::string& error);
