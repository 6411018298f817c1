#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace foreign {

// Reads text the way formatted input does: a blank in a pattern matches any run of blanks
// (none included), every other character must match itself, and numbers and words skip the
// blanks before them. Nothing is read past the end of the text.
class TextScanner {
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    // The literal pattern; false at the first character that does not match.
    bool Match(std::string_view pattern);
    bool Long(long& value);
    bool Float(float& value);
    // A run of non-blank characters; false when there is none.
    bool Word(std::string& word);
    // The rest of the current line (without its line feed), which is then passed.
    std::string_view RestOfLine();
    void SkipBlanks();

    bool AtEnd() const { return pos_ >= text_.size(); }
    size_t Position() const { return pos_; }
    void SetPosition(size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }
    std::string_view Text() const { return text_; }

    static bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace foreign
