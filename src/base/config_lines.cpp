#include "base/config_lines.h"

namespace {

bool IsLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsLineBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsLineBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The line without its comment and the blanks around it.
std::string_view Content(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || IsLineBlank(line[i - 1]))) {
            line = line.substr(0, i);
            break;
        }
    return Trimmed(line);
}

}  // namespace

std::vector<ConfigLine> ReadConfigLines(std::string_view text) {
    std::vector<ConfigLine> lines;
    int number = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = Content(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++number;
        if (line.empty()) continue;
        size_t end = 0;
        while (end < line.size() && !IsLineBlank(line[end])) ++end;
        lines.push_back({number, line.substr(0, end), Trimmed(line.substr(end))});
    }
    return lines;
}
