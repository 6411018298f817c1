#pragma once
#include <string>
#include <string_view>

// Byte-wise ASCII helpers for data text and file names. They never consult the C library's
// locale, and leave every byte outside the ASCII letters as it is (Shift-JIS second bytes that
// happen to be letters are lowered too, as the file lookups always did).

// The blanks of the C locale's isspace: ' ' and '\t' to '\r'.
inline bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string AsciiLower(std::string_view text);
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal but for the case of ASCII letters.
bool AsciiSameName(std::string_view a, std::string_view b);
