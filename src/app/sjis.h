#pragma once
#include <string>
#include <string_view>

// Game text stays Shift-JIS inside the engine; these convert at the edges (logs, boxes, file
// names) through the host's codec. Without a codec the bytes pass unchanged.
std::string ToSjis(std::string_view utf8);
std::string ToUtf8(std::string_view sjis);

// A UTF-8 literal turned into Shift-JIS once, where it is first used.
#define SJIS(literal)                                        \
    ([]() -> const std::string& {                            \
        static const std::string converted = ToSjis(literal); \
        return converted;                                    \
    }())
