#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Tokens of a `.x` file body, the same for the text and the binary encoding. Separators (',' and
// ';') come out as tokens so that brace skipping stays exact, but readers of data ignore them:
// the numbers of a data object are read as one flat stream, which is how both encodings (and
// the many exporters that group lists differently) agree.
enum class XTokenKind : uint8_t {
    End,
    Name,  // identifier, also the keyword "template"
    String,
    Integer,
    Float,
    Guid,
    OpenBrace,
    CloseBrace,
    Separator,
    Punct,  // anything else that only appears inside templates: [ ] ( ) < > . type keywords
    Bad,    // malformed input; `text` says what is wrong
};

struct XToken {
    XTokenKind kind = XTokenKind::End;
    std::string_view text;  // Name and String: raw bytes as in the file; Bad: the reason
    int64_t integer = 0;    // Integer
    double number = 0;      // Integer and Float
    size_t offset = 0;      // where the token starts in the body
};

class XTokenizer {
public:
    // `data` is the body after the 16-byte header (inflated when the file was compressed).
    // `doubles`: binary float lists hold 8-byte values.
    XTokenizer(const uint8_t* data, size_t size, bool binary, bool doubles);

    XToken Next();
    const XToken& Peek();
    // An upper bound of the numbers still in the body: counts read from the file are checked
    // against it before anything is allocated for them.
    size_t MaxValuesLeft() const;
    // "line 12" for text, "byte 345" for binary (counted from the start of the file).
    std::string Where(size_t offset) const;
    bool Binary() const { return binary_; }

private:
    XToken ReadText();
    XToken ReadBinary();
    XToken Fail(const char* reason);

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool binary_;
    bool doubles_;
    // Binary integer and float lists hand out one value per token.
    uint16_t listKind_ = 0;
    uint32_t listLeft_ = 0;
    bool hasPeek_ = false;
    XToken peek_;
};
