#pragma once
#include <string>
#include <string_view>
#include <vector>

// The data tables (Datas\*.qd but the title file, the menu actions and the settings) hold one
// record a line, read by the game's formatted input as "name help number flags" (the menu table:
// "name help"): a line with other words, or a word where a number belongs, shifts every record
// after it. Names are cut at 20 bytes and help texts at 62.
bool IsDataTable(const std::string& relativePath);
// What is wrong with one line of a table (Shift-JIS), one entry each; none when it reads.
std::vector<std::string> TableLineProblems(std::string_view lineSjis,
                                           const std::string& relativePath);
