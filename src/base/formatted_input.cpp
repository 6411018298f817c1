#include "base/formatted_input.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdlib>

#include "base/ascii.h"
#include "base/parse_int.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SpaceRun(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    return i;
}

}  // namespace

long ParseLong(std::string_view text, size_t* used) {
    const ParsedInt r = ParseInt(text.substr(0, SpaceRun(text) + kMaxNumberText));
    if (used) *used = r.used;
    return long(std::clamp<int64_t>(r.value, LONG_MIN, LONG_MAX));
}

float ParseFloat(std::string_view text, size_t* used) {
    // strtof wants a terminated string: the number-like characters are copied first.
    char buffer[kMaxNumberText + 1];
    const size_t start = SpaceRun(text);
    size_t n = 0;
    while (start + n < text.size() && n < kMaxNumberText && text[start + n] != '\0' &&
           !IsAsciiSpace(text[start + n])) {
        buffer[n] = text[start + n];
        ++n;
    }
    buffer[n] = '\0';
    char* end = buffer;
    const float v = std::strtof(buffer, &end);
    if (used) *used = end == buffer ? 0 : start + size_t(end - buffer);
    return v;
}

void FormattedInput::SkipSpace() {
    while (pos_ < size_ && IsAsciiSpace(data_[pos_])) ++pos_;
}

bool FormattedInput::ReadInt(int32_t& out) {
    const size_t start = pos_;
    bool negative = false;
    if (pos_ < size_ && (data_[pos_] == '+' || data_[pos_] == '-')) negative = data_[pos_++] == '-';
    if (pos_ >= size_ || !IsDigit(data_[pos_])) return false;
    // The runtime library adds digits without a range check, so values wrap to 32 bits.
    uint32_t value = 0;
    uint64_t whole = 0;  // the value as written, up to where it is past any 32-bit one
    while (pos_ < size_ && IsDigit(data_[pos_])) {
        value = value * 10u + uint32_t(data_[pos_] - '0');
        if (whole <= (uint64_t(1) << 32)) whole = whole * 10u + uint64_t(data_[pos_] - '0');
        ++pos_;
    }
    if (whole > (negative ? uint64_t(1) << 31 : uint64_t(INT32_MAX)) &&
        wrapped_ == std::string_view::npos)
        wrapped_ = start;
    out = static_cast<int32_t>(negative ? 0u - value : value);
    return true;
}

bool FormattedInput::ReadFloat(float& out) {
    bool negative = false;
    if (pos_ < size_ && (data_[pos_] == '+' || data_[pos_] == '-')) negative = data_[pos_++] == '-';
    const size_t start = pos_;
    // Decimal exponent of the leading digit, to tell overflow from underflow.
    int64_t magnitude = 0;
    bool sawDigit = false, sawNonZero = false;
    while (pos_ < size_ && IsDigit(data_[pos_])) {
        sawDigit = true;
        if (data_[pos_] != '0') sawNonZero = true;
        if (sawNonZero && magnitude < 100000) ++magnitude;
        ++pos_;
    }
    if (pos_ < size_ && data_[pos_] == '.') {
        ++pos_;
        while (pos_ < size_ && IsDigit(data_[pos_])) {
            sawDigit = true;
            if (!sawNonZero) {
                if (data_[pos_] != '0')
                    sawNonZero = true;
                else if (magnitude > -100000)
                    --magnitude;
            }
            ++pos_;
        }
    }
    if (!sawDigit) return false;
    size_t end = pos_;
    if (pos_ < size_ && (data_[pos_] == 'e' || data_[pos_] == 'E')) {
        // An 'e' without digits is taken and ignored, as the original runtime did.
        size_t at = pos_ + 1;
        bool expNegative = false;
        if (at < size_ && (data_[at] == '+' || data_[at] == '-')) expNegative = data_[at++] == '-';
        int64_t exponent = 0;
        bool expDigits = false;
        while (at < size_ && IsDigit(data_[at])) {
            expDigits = true;
            if (exponent < 100000) exponent = exponent * 10 + (data_[at] - '0');
            ++at;
        }
        pos_ = at;
        if (expDigits) {
            end = at;
            magnitude += expNegative ? -exponent : exponent;
        }
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(data_ + start, data_ + end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        value = magnitude > 0 ? DBL_MAX : 0.0;
    else if (ec != std::errc())
        value = 0.0;
    (void)ptr;
    // Kept finite: positions and scales feed matrices.
    if (value > FLT_MAX) value = FLT_MAX;
    out = static_cast<float>(negative ? -value : value);
    return true;
}

bool FormattedInput::Match(std::string_view literal) {
    for (char c : literal) {
        if (IsAsciiSpace(c)) {
            SkipSpace();
            continue;
        }
        if (pos_ >= size_ || data_[pos_] != c) return false;
        ++pos_;
    }
    return true;
}

bool FormattedInput::Word(std::string& word) {
    SkipSpace();
    const size_t start = pos_;
    while (pos_ < size_ && !IsAsciiSpace(data_[pos_])) ++pos_;
    word.assign(data_ + start, pos_ - start);
    return pos_ > start;
}

bool FormattedInput::Long(long& value) {
    return TakeNumber(ParseLong, value);
}

bool FormattedInput::Float(float& value) {
    return TakeNumber(ParseFloat, value);
}

std::string_view FormattedInput::RestOfLine() {
    const size_t start = pos_;
    while (pos_ < size_ && data_[pos_] != '\n') ++pos_;
    const std::string_view line(data_ + start, pos_ - start);
    if (pos_ < size_) ++pos_;
    return line;
}

int FormattedInput::ScanList(std::string_view format, const Target* targets, size_t count) {
    int stored = 0;
    size_t next = 0;
    for (size_t f = 0; f < format.size(); ++f) {
        char c = format[f];
        if (IsAsciiSpace(c)) {
            SkipSpace();
            continue;
        }
        if (c != '%' || f + 1 >= format.size()) {
            if (pos_ >= size_) return stored ? stored : -1;
            if (!Match(std::string_view(&c, 1))) return stored;
            continue;
        }
        char conversion = format[++f];
        if (next >= count) return stored;  // more conversions than targets: a caller's mistake
        const Target& target = targets[next++];
        SkipSpace();
        if (pos_ >= size_) return stored ? stored : -1;
        bool ok = false;
        if (conversion == 'd' && std::holds_alternative<int32_t*>(target)) {
            ok = ReadInt(*std::get<int32_t*>(target));
        } else if (conversion == 'f' && std::holds_alternative<float*>(target)) {
            ok = ReadFloat(*std::get<float*>(target));
        } else if (conversion == 's' && std::holds_alternative<std::string*>(target)) {
            ok = Word(*std::get<std::string*>(target));
        }
        if (!ok) return stored;
        ++stored;
    }
    return stored;
}
