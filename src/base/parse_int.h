#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// A decimal integer at the front of a text, read as strtol reads it: blanks (' ' and '\t' to
// '\r'), a sign, then digits up to the first other character. Never reads past the text.
struct ParsedInt {
    int64_t value = 0;  // past the int64 range: its nearer end
    size_t used = 0;    // characters taken, blanks included; 0 when no digit came
    bool outOfRange = false;
};
ParsedInt ParseInt(std::string_view text);

// True when the whole word is one decimal integer in the int64 range with at most a '-' in
// front (no blanks, no '+'), as std::from_chars takes it.
bool ParseWholeInt(std::string_view word, int64_t& out);
