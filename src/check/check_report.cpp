#include "check/check_report.h"

void Diagnostics::Error(const std::string& where, int line, int column, const std::string& what) {
    std::string m = where;
    if (line > 0) {
        m += ":" + std::to_string(line);
        if (column > 0) m += ":" + std::to_string(column);
    }
    if (!m.empty()) m += ": ";
    messages_.push_back(m + what);
}
