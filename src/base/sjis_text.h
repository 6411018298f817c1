#pragma once
#include <cstddef>
#include <string_view>

#include "base/sjis.h"  // IsSjisLeadByte, SjisCharLength

// Cutting game text, which stays Shift-JIS inside the engine, to the fields that hold it.

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a character boundary,
// so that a cut never leaves half of a double-byte character behind.
size_t SjisFitLength(std::string_view text, size_t maxBytes);

// Copies `text` into a field of `capacity` bytes: stopped at a NUL, cut to fit with
// SjisFitLength, always NUL-terminated, the rest of the field zeroed. Capacity 0 writes nothing.
void CopySjisField(char* field, size_t capacity, std::string_view text);
