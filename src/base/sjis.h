#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Game text stays Shift-JIS inside the engine; these convert at the edges (logs, boxes, file
// names) through the host's codec. Without a codec the bytes pass unchanged.
std::string ToSjis(std::string_view utf8);
std::string ToUtf8(std::string_view sjis);

// True once a codec is installed: conversions from then on are final.
bool SjisCodecReady();

// A UTF-8 literal turned into Shift-JIS once, where it is first used with a codec installed
// (a use before that converts again next time rather than keeping the UTF-8 bytes).
#define SJIS(literal)                    \
    ([]() -> const std::string& {        \
        static std::string converted;    \
        static bool final = false;       \
        if (!final) {                    \
            converted = ToSjis(literal); \
            final = SjisCodecReady();    \
        }                                \
        return converted;                \
    }())

// Shift-JIS (code page 932): bytes 0x81-0x9F and 0xE0-0xFC start a two-byte character; 0xA1-0xDF
// are half-width katakana; everything else stands alone.
constexpr bool IsSjisLeadByte(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes of the character at `p`, never more than `remaining`: a lead byte takes the next byte
// as its trail unless the text ends (end of the count or a terminator) right after it.
inline size_t SjisCharLength(const uint8_t* p, size_t remaining) {
    if (remaining == 0) return 0;
    if (IsSjisLeadByte(p[0]) && remaining >= 2 && p[1] != 0) return 2;
    return 1;
}
