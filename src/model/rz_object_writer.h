#pragma once
#include <string>

#include "model/rz_model.h"

// The model as the bytes of an RZ object file in either variant, laid out as the readers expect
// (positions scaled back down). False, with the reason in `why`, when something does not fit the
// format: a name too long or (ASCII) one that the tokenizer would split, a frame or key count
// past the binary variant's 16-bit fields, more entries than the limits.
bool WriteRzObject(const RZ_Model& model, RZ_SaveFormat format, std::string& out, std::string& why);
