#pragma once
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
