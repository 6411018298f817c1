#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A quoted name without its first and last character; shorter tokens give an empty name.
std::string Unquote(const std::string& token);

// Splits the text of an ASCII RZ object into tokens: words, numbers, quoted names (quotes kept;
// inside them spaces and brackets belong to the token) and the brackets ( ) { } on their own.
// A token is cut after kMaxToken characters; the rest becomes the next token.
class RzTokenizer {
public:
    static constexpr size_t kMaxToken = 255;

    RzTokenizer(const char* text, size_t size) : text_(text), size_(size) {}

    // The next token; false at the end of the text.
    bool Next(std::string& token);

    // Layout words and brackets: read past, never compared. The end of the text is tolerated
    // here (a file may stop after its last value); a value read there fails instead.
    void Skip(int count = 1);
    // Values. At the end of the text they give 0 (or an empty text) and set Ended().
    std::string Text();
    // strtol and strtof on the token, as the runtime's decimal conversions read it: leading
    // garbage gives 0, the number stops at the first character that does not belong to it.
    // Integers saturate to the 32-bit range.
    long Int();
    float Float();

    bool Ended() const { return ended_; }
    // Where the first value read as a number is not wholly one starts (a word, or a number with
    // something behind it), from the start of the text; npos when every one was.
    size_t FirstNonNumber() const { return nonNumber_; }
    size_t Left() const { return size_ - pos_; }
    size_t Offset() const { return pos_; }  // from the start of the text

private:
    const char* text_;
    size_t size_;
    size_t pos_ = 0;
    char pushedBack_ = 0;
    bool ended_ = false;
    size_t nonNumber_ = std::string_view::npos;
    // Notes a value token of which the conversion took `used` characters.
    void Took(size_t used);
    std::string token_;
};
