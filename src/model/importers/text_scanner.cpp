#include "model/importers/text_scanner.h"

#include "model/importers/import_common.h"

namespace foreign {

void TextScanner::SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

bool TextScanner::Match(std::string_view pattern) {
    for (char c : pattern) {
        if (IsBlank(c)) {
            SkipBlanks();
        } else {
            if (pos_ >= text_.size() || text_[pos_] != c) return false;
            ++pos_;
        }
    }
    return true;
}

bool TextScanner::Long(long& value) {
    size_t used = 0;
    const long v = ParseLong(text_.substr(pos_), &used);
    if (used == 0) return false;
    value = v;
    pos_ += used;
    return true;
}

bool TextScanner::Float(float& value) {
    size_t used = 0;
    const float v = ParseFloat(text_.substr(pos_), &used);
    if (used == 0) return false;
    value = v;
    pos_ += used;
    return true;
}

bool TextScanner::Word(std::string& word) {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
    word.assign(text_.substr(start, pos_ - start));
    return pos_ > start;
}

std::string_view TextScanner::RestOfLine() {
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    const std::string_view line = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) ++pos_;
    return line;
}

}  // namespace foreign
