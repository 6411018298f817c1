#pragma once
#include <string>
#include <string_view>

#include "output_tree.h"
#include "source_text.h"

// The asset list: one generated file per line,
//   image <path> <recipe> [options]   .bmp (24-bit, or bits=8) or .dds (A8R8G8B8 with alpha)
//   mesh  <path> <recipe> [format=text|binary] [texture=<file>] [options]
//   sound <path> <recipe> [options]   16-bit mono PCM WAV at 22050 Hz
//   model <path> humanoid [format=ascii|binary] [texture=<file>] [look options]   (.rzo)
//   model <path> barrel|signpost|boulder|lantern [height=] [seed=] [texture=<file>]
//         a static prop as .rok, .mqo, .mx or .cob (by the extension); mqo and cob may name a
//         texture, written beside the model
// Paths are under the data directory, with '/' separators.
void BuildAssets(std::string_view list, const std::string& fileName, OutputTree& out,
                 Diagnostics& diag);
