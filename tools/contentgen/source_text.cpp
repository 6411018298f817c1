#include "source_text.h"

#include <cstdlib>

#include "base/game_file.h"
#include "base/parse_int.h"

std::vector<SourceLine> SplitLines(std::string_view text) {
    std::vector<SourceLine> lines;
    size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(SourceLine{number++, std::string(line)});
        start = end + 1;
    }
    return lines;
}

std::string StripComment(std::string_view line) {
    // A comment starts with '#' at the start of a word, so "C#4" stays a note.
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            line = line.substr(0, i);
            break;
        }
    }
    size_t b = line.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    size_t e = line.find_last_not_of(" \t");
    return std::string(line.substr(b, e - b + 1));
}

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t b = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > b) words.emplace_back(line.substr(b, i - b));
    }
    return words;
}

bool ParseDouble(std::string_view word, double& out) {
    if (word.empty()) return false;
    std::string s(word);
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size();
}

bool ParseInt(std::string_view word, int64_t& out) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    return ParseWholeInt(word, out);
}

Options::Options(const std::vector<std::string>& words, size_t first, std::string where, int line,
                 Diagnostics& diag)
    : where_(std::move(where)), line_(line), diag_(diag) {
    for (size_t i = first; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            diag_.Error(where_, line_, "expected key=value, found \"" + words[i] + "\"");
            continue;
        }
        std::string key = words[i].substr(0, eq);
        if (values_.count(key)) diag_.Error(where_, line_, "option " + key + " given twice");
        values_[key] = words[i].substr(eq + 1);
        used_[key] = false;
    }
}

std::string Options::Text(const std::string& key, const std::string& fallback) {
    auto it = values_.find(key);
    if (it == values_.end()) return fallback;
    used_[key] = true;
    return it->second;
}

double Options::Number(const std::string& key, double fallback) {
    auto it = values_.find(key);
    if (it == values_.end()) return fallback;
    used_[key] = true;
    double v = 0;
    if (!ParseDouble(it->second, v)) {
        diag_.Error(where_, line_, "option " + key + " is not a number: " + it->second);
        return fallback;
    }
    return v;
}

int Options::Int(const std::string& key, int fallback) {
    auto it = values_.find(key);
    if (it == values_.end()) return fallback;
    used_[key] = true;
    int64_t v = 0;
    if (!ParseInt(it->second, v) || v < INT32_MIN || v > INT32_MAX) {
        diag_.Error(where_, line_, "option " + key + " is not an integer: " + it->second);
        return fallback;
    }
    return static_cast<int>(v);
}

namespace {

bool SplitNumbers(std::string_view s, std::vector<double>& parts) {
    parts.clear();
    while (true) {
        size_t comma = s.find(',');
        double v = 0;
        if (!ParseDouble(s.substr(0, comma), v)) return false;
        parts.push_back(v);
        if (comma == std::string_view::npos) return true;
        s.remove_prefix(comma + 1);
    }
}

}  // namespace

bool Options::Numbers(const std::string& key, size_t count, std::vector<double>& out) {
    auto it = values_.find(key);
    if (it == values_.end()) return false;
    used_[key] = true;
    std::vector<double> parts;
    if (!SplitNumbers(it->second, parts) || parts.size() != count) {
        diag_.Error(
            where_, line_,
            "option " + key + " wants " + std::to_string(count) + " numbers: " + it->second);
        return false;
    }
    out = parts;
    return true;
}

void Options::Vec3(const std::string& key, float out[3]) {
    auto it = values_.find(key);
    if (it == values_.end()) return;
    used_[key] = true;
    std::vector<double> parts;
    if (!SplitNumbers(it->second, parts) || (parts.size() != 1 && parts.size() != 3)) {
        diag_.Error(where_, line_, "option " + key + " wants x,y,z: " + it->second);
        return;
    }
    if (parts.size() == 1) parts.assign(3, parts[0]);
    for (int i = 0; i < 3; ++i) out[i] = static_cast<float>(parts[i]);
}

void Options::CheckUnused() {
    for (const auto& [key, used] : used_)
        if (!used) diag_.Error(where_, line_, "unknown option " + key);
}

bool ReadWholeFile(const std::string& nativePath, std::string& out) {
    FileRead file = ReadNativeFile(nativePath, kAnyFileSize);
    out = std::move(file.bytes);
    return file.Ok();
}
