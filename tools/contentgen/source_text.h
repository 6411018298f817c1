#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_report.h"

// Reading the builder's own text sources: line splitting with numbers, comments, words and
// "key=value" options, and errors that name the file and line an author has to fix.

struct SourceLine {
    int number = 0;    // 1-based
    std::string text;  // without its line end (LF or CR LF)
};

// Splits a UTF-8 text into lines; a final line end does not start another line.
std::vector<SourceLine> SplitLines(std::string_view text);

// Cuts a comment (from a '#' that starts a word) off and trims blanks at both ends.
std::string StripComment(std::string_view line);

// Words separated by blanks or tabs.
std::vector<std::string> SplitWords(std::string_view line);

// Options written as key=value after the positional words of a line. Each getter records an
// error for a value that does not read as its type; Unused() lists keys nobody asked for, so a
// typing error in an option name is reported rather than silently ignored.
class Options {
public:
    Options(const std::vector<std::string>& words, size_t first, std::string where, int line,
            Diagnostics& diag);

    bool Has(const std::string& key) const { return values_.count(key) != 0; }
    std::string Text(const std::string& key, const std::string& fallback);
    double Number(const std::string& key, double fallback);
    int Int(const std::string& key, int fallback);
    // Three numbers written as "x,y,z" (or one number for all three).
    void Vec3(const std::string& key, float out[3]);
    // Exactly `count` numbers written with commas; false (and out untouched) when absent.
    bool Numbers(const std::string& key, size_t count, std::vector<double>& out);
    // Reports keys that no getter asked for.
    void CheckUnused();

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, bool> used_;
    std::string where_;
    int line_;
    Diagnostics& diag_;
};

// Strict number parsing of a whole word.
bool ParseDouble(std::string_view word, double& out);
bool ParseInt(std::string_view word, int64_t& out);

// The whole file, or false.
bool ReadWholeFile(const std::string& nativePath, std::string& out);
