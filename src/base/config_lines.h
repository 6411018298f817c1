#pragma once
#include <string_view>
#include <vector>

// The lines of the engine's small "key value" files (the title file, the menu actions): each
// line without its comment (a "#" at the start of a word) and the blanks around it, split into
// its first word and the rest. Lines left empty are not listed.

struct ConfigLine {
    int number = 0;  // 1 for the first line of the text
    std::string_view key;
    std::string_view value;  // the rest of the line, blanks around it removed; may be empty
};

std::vector<ConfigLine> ReadConfigLines(std::string_view text);
