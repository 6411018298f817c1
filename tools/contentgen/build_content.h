#pragma once
#include <string>

#include "output_tree.h"
#include "source_text.h"

// Builds the whole data set from the sources under contentDir into memory:
//   text/<path>          -> <path>, Shift-JIS with CR LF (scripts, tables, characters, ...)
//   fields/<name>.field  -> Field/<name>.qf
//   music/<name>.song    -> BGM/<file> and the music list BGM/BGMData.qd
//   assets.txt           -> generated images, meshes, sounds and models
// then checks that every file a built file names exists. False when anything failed; the
// reasons are in diag.
bool BuildContent(const std::string& contentDir, OutputTree& out, Diagnostics& diag);
