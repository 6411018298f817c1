#include "check/table_check.h"

#include <cstdint>

#include "base/formatted_input.h"
#include "base/parse_int.h"

bool IsDataTable(const std::string& rel) {
    return rel.compare(0, 6, "Datas/") == 0 && rel.size() > 9 &&
           rel.compare(rel.size() - 3, 3, ".qd") == 0 && rel != "Datas/Title.qd" &&
           rel != "Datas/MnuActions.qd";
}

std::vector<std::string> TableLineProblems(std::string_view line, const std::string& rel) {
    std::vector<std::string> problems;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
        problems.push_back("empty line in a table");
        return problems;
    }
    std::vector<std::string> words;
    FormattedInput in(line);
    for (std::string word; in.Word(word);) words.push_back(word);
    const size_t want = rel.compare(0, 14, "Datas/MnuDatas") == 0 ? 2 : 4;
    if (words.size() != want) {
        problems.push_back("a record has " + std::to_string(want) + " words, found " +
                           std::to_string(words.size()));
        return problems;
    }
    if (words[0].size() > 20) problems.push_back("name longer than 20 bytes");
    if (words[1].size() > 62) problems.push_back("help text longer than 62 bytes");
    for (size_t i = 2; i < words.size(); ++i) {
        std::string_view w = words[i];
        if (!w.empty() && w.front() == '+') w.remove_prefix(1);
        int64_t v = 0;
        if (!ParseWholeInt(w, v)) problems.push_back("not a number: " + words[i]);
    }
    return problems;
}
