#include "model/importers/mqo_tokens.h"

namespace foreign {

bool MqoTokens::Next(std::string& token) {
    if (hasPeeked_) {
        hasPeeked_ = false;
        token = std::move(peeked_);
        return !peekedEnd_;
    }
    return tokenizer_->Next(token);
}

const std::string* MqoTokens::Peek() {
    if (!hasPeeked_) {
        peekedEnd_ = !tokenizer_->Next(peeked_);
        hasPeeked_ = true;
    }
    return peekedEnd_ ? nullptr : &peeked_;
}

void MqoTokens::SeekTo(size_t offset) {
    if (offset > text_.size()) offset = text_.size();
    tokenizer_.emplace(text_.data() + offset, text_.size() - offset);
    hasPeeked_ = false;
    peekedEnd_ = false;
}

}  // namespace foreign
