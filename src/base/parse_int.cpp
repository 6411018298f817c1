#include "base/parse_int.h"

#include "base/ascii.h"

ParsedInt ParseInt(std::string_view text) {
    ParsedInt r;
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !IsAsciiDigit(text[i])) return r;
    // The magnitude stops at the range's end on that side: 2^63 below zero, 2^63 - 1 above.
    const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
    uint64_t magnitude = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        const uint64_t digit = uint64_t(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            r.outOfRange = true;
        } else if (!r.outOfRange) {
            magnitude = magnitude * 10 + digit;
        }
    }
    r.used = i;
    r.value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return r;
}

bool ParseWholeInt(std::string_view word, int64_t& out) {
    if (word.empty() || !(word[0] == '-' || IsAsciiDigit(word[0]))) return false;
    const ParsedInt r = ParseInt(word);
    if (r.used != word.size() || r.outOfRange) return false;
    out = r.value;
    return true;
}
