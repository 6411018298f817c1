#pragma once
#include <string>

#include "prop_model.h"

// A prop written in one of the foreign model formats the engine imports, chosen by the file
// extension (".rok", ".mqo", ".mx" or ".cob", lower case). Each writer undoes the axes and scale
// its importer applies, so the imported model has the prop's world-unit positions, its corner
// order (winding) and its faces in order. `texture` is the picture textured materials name
// (mqo and cob only; empty for none). False with the reason when the prop does not fit the
// format (rok keeps 13 material colours, mqo 31 materials, ...).
bool WriteForeignModel(const PropModel& model, const std::string& extension,
                       const std::string& texture, std::string& bytes, std::string& why);

// The number the text formats write for a value: four decimals at most, no trailing zeros,
// never "-0".
std::string FormatNumber(float value);
