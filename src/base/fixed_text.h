#pragma once
#include <cstddef>
#include <cstdio>

// A C string copied into a fixed-size text field of the game's records: cut to fit and always
// ended by a NUL; a null pointer copies as the empty text.
template <size_t N>
void CopyFixedText(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text ? text : "");
}
