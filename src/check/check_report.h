#pragma once
#include <string>
#include <vector>

// What a check of a data set found wrong, one line each: "where:line:column: what", the line and
// column left out where they are not known. The content builder and --check-data both collect
// their findings here; anything collected fails the build or the check.
class Diagnostics {
public:
    void Error(const std::string& where, int line, int column, const std::string& what);
    void Error(const std::string& where, int line, const std::string& what) {
        Error(where, line, 0, what);
    }
    void Error(const std::string& what) { Error("", 0, 0, what); }
    bool Ok() const { return messages_.empty(); }
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};
