#pragma once
#include <string>

#include "check/data_files.h"

// Every file a file of the data set names must be there too: the game reports a missing script
// or status file, and silently leaves a picture or mesh out, so a typing error in a name would
// only show as something missing on screen. Character, party, enemy and weapon files and fields
// are read here with the game's own formatted input (a field names its six sky images, ground
// images, billboard pictures and meshes); the title file and the menu actions as the game reads
// them; other names were noted with DataFiles::Require. Missing files are reported as
// "names PATH, which is <missing>" ("not built", "not there").
void CheckReferences(DataFiles& files, Diagnostics& diag, const std::string& missing);
