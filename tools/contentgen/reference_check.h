#pragma once
#include "output_tree.h"
#include "source_text.h"

// Every file a built file names must be built too: the game reports a missing script or
// status file, and silently leaves a picture or mesh out, so a typing error in a name would
// only show as something missing on screen. Character, party, enemy and weapon files are read
// here with the game's own formatted input; other names were noted with OutputTree::Require.
void CheckReferences(OutputTree& out, Diagnostics& diag);
