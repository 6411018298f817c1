#include "model/rz_tokenizer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "base/parse_int.h"

namespace {

bool IsBracket(char c) {
    return c == '(' || c == ')' || c == '{' || c == '}';
}

bool IsTokenBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool RzTokenizer::Next(std::string& token) {
    token.clear();
    if (pushedBack_) {
        token.push_back(pushedBack_);
        pushedBack_ = 0;
        return true;
    }
    while (pos_ < size_ && IsTokenBlank(text_[pos_])) ++pos_;
    if (pos_ >= size_) return false;
    if (IsBracket(text_[pos_])) {
        token.push_back(text_[pos_++]);
        return true;
    }
    bool quoted = false;
    while (pos_ < size_ && token.size() < kMaxToken) {
        const char c = text_[pos_];
        if (!quoted && IsTokenBlank(c)) break;
        if (!quoted && IsBracket(c)) {
            pushedBack_ = c;
            ++pos_;
            break;
        }
        if (c == '"') quoted = !quoted;
        token.push_back(c);
        ++pos_;
    }
    return true;
}

void RzTokenizer::Skip(int count) {
    for (int i = 0; i < count; ++i) Next(token_);
}

std::string RzTokenizer::Text() {
    if (!Next(token_)) ended_ = true;
    return token_;
}

void RzTokenizer::Took(size_t used) {
    // A bracket pushed back is not part of the token; the token ends just before pos_.
    const size_t end = pos_ - (pushedBack_ ? 1 : 0);
    if (used < token_.size() && nonNumber_ == std::string_view::npos)
        nonNumber_ = end - token_.size();
}

long RzTokenizer::Int() {
    if (!Next(token_)) {
        ended_ = true;
        return 0;
    }
    const ParsedInt parsed = ParseInt(token_);
    Took(parsed.used);
    return long(std::clamp<int64_t>(parsed.value, INT32_MIN, INT32_MAX));
}

float RzTokenizer::Float() {
    if (!Next(token_)) {
        ended_ = true;
        return 0.0f;
    }
    char* end = nullptr;
    const float value = std::strtof(token_.c_str(), &end);
    Took(size_t(end - token_.c_str()));
    return value;
}

std::string Unquote(const std::string& token) {
    return token.size() >= 2 ? token.substr(1, token.size() - 2) : std::string();
}
