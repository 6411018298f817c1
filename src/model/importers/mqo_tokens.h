#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/rz_tokenizer.h"

namespace foreign {

// The RZ object tokenizer over a Metasequoia document, with one token of look-ahead and a jump
// over binary blocks.
class MqoTokens {
public:
    MqoTokens(std::string_view text, size_t start) : text_(text) { SeekTo(start); }

    // False at the end of the text.
    bool Next(std::string& token);
    // The token Next would return, or null at the end.
    const std::string* Peek();
    // Where the text after the last token read begins (no look-ahead pending).
    size_t Offset() const { return text_.size() - tokenizer_->Left(); }
    void SeekTo(size_t offset);

private:
    std::string_view text_;
    std::optional<RzTokenizer> tokenizer_;
    std::string peeked_;
    bool hasPeeked_ = false;
    bool peekedEnd_ = false;
};

}  // namespace foreign
