#include "gfx/xfile_tokens.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Binary token codes of the format.
constexpr uint16_t kTokName = 1;
constexpr uint16_t kTokString = 2;
constexpr uint16_t kTokInteger = 3;
constexpr uint16_t kTokGuid = 5;
constexpr uint16_t kTokIntegerList = 6;
constexpr uint16_t kTokFloatList = 7;
constexpr uint16_t kTokOpenBrace = 0x0a;
constexpr uint16_t kTokCloseBrace = 0x0b;
constexpr uint16_t kTokComma = 0x13;
constexpr uint16_t kTokSemicolon = 0x14;
constexpr uint16_t kTokTemplate = 0x1f;
constexpr size_t kBinaryHeaderSize = 16;

bool IsWordByte(uint8_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           c == '-' || c == '+' || c == '.' || c >= 0x80;
}

uint16_t Word16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Word32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

XTokenizer::XTokenizer(const uint8_t* data, size_t size, bool binary, bool doubles)
    : data_(data), size_(size), binary_(binary), doubles_(doubles) {}

const XToken& XTokenizer::Peek() {
    if (!hasPeek_) {
        peek_ = binary_ ? ReadBinary() : ReadText();
        hasPeek_ = true;
    }
    return peek_;
}

XToken XTokenizer::Next() {
    if (hasPeek_) {
        hasPeek_ = false;
        return peek_;
    }
    return binary_ ? ReadBinary() : ReadText();
}

size_t XTokenizer::MaxValuesLeft() const {
    size_t rest = size_ - pos_;
    if (binary_) return listLeft_ + rest / 4 + (hasPeek_ ? 1 : 0);
    // Every text number takes a byte and is parted from the next by at least one more.
    return (rest + 1) / 2 + (hasPeek_ ? 1 : 0);
}

std::string XTokenizer::Where(size_t offset) const {
    if (binary_) return "byte " + std::to_string(offset + kBinaryHeaderSize);
    size_t line = 1;
    for (size_t i = 0; i < offset && i < size_; ++i) line += data_[i] == '\n';
    return "line " + std::to_string(line);  // the header line ends at the body's first byte
}

XToken XTokenizer::Fail(const char* reason) {
    XToken t;
    t.kind = XTokenKind::Bad;
    t.text = reason;
    t.offset = pos_;
    pos_ = size_;  // nothing after a broken token can be trusted
    listLeft_ = 0;
    return t;
}

XToken XTokenizer::ReadText() {
    for (;;) {
        while (pos_ < size_ && (data_[pos_] == ' ' || data_[pos_] == '\t' || data_[pos_] == '\r' ||
                                data_[pos_] == '\n' || data_[pos_] == '\0'))
            ++pos_;
        if (pos_ >= size_) return XToken{XTokenKind::End, {}, 0, 0, size_};
        uint8_t c = data_[pos_];
        bool comment = c == '#' || (c == '/' && pos_ + 1 < size_ && data_[pos_ + 1] == '/');
        if (!comment) break;
        while (pos_ < size_ && data_[pos_] != '\n') ++pos_;
    }
    XToken t;
    t.offset = pos_;
    const char* base = reinterpret_cast<const char*>(data_);
    uint8_t c = data_[pos_];
    if (c == '{' || c == '}' || c == ',' || c == ';') {
        t.kind = c == '{'   ? XTokenKind::OpenBrace
                 : c == '}' ? XTokenKind::CloseBrace
                            : XTokenKind::Separator;
        t.text = std::string_view(base + pos_, 1);
        ++pos_;
        return t;
    }
    if (c == '"') {
        // Raw bytes up to the closing quote: no escapes, so Shift-JIS names (whose trail bytes
        // may be '\') keep every byte, and a doubled '\' stays doubled as the exporter wrote it.
        const void* end = std::memchr(data_ + pos_ + 1, '"', size_ - pos_ - 1);
        if (!end) return Fail("string without its closing quote");
        size_t close = static_cast<const uint8_t*>(end) - data_;
        t.kind = XTokenKind::String;
        t.text = std::string_view(base + pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return t;
    }
    if (c == '<') {
        const void* end = std::memchr(data_ + pos_, '>', size_ - pos_);
        if (!end) return Fail("GUID without its closing '>'");
        size_t close = static_cast<const uint8_t*>(end) - data_;
        t.kind = XTokenKind::Guid;
        t.text = std::string_view(base + pos_, close + 1 - pos_);
        pos_ = close + 1;
        return t;
    }
    if (!IsWordByte(c)) {
        t.kind = XTokenKind::Punct;
        t.text = std::string_view(base + pos_, 1);
        ++pos_;
        return t;
    }
    size_t start = pos_;
    while (pos_ < size_ && IsWordByte(data_[pos_])) ++pos_;
    t.text = std::string_view(base + start, pos_ - start);
    const char* first = base + start;
    const char* last = base + pos_;
    bool numeric =
        (c >= '0' && c <= '9') || ((c == '-' || c == '+' || c == '.') && pos_ - start > 1 &&
                                   ((first[1] >= '0' && first[1] <= '9') || first[1] == '.'));
    if (!numeric) {
        t.kind = XTokenKind::Name;
        return t;
    }
    const char* p = first + (c == '+' ? 1 : 0);  // from_chars takes no leading '+'
    bool fractional = t.text.find_first_of(".eE") != std::string_view::npos;
    if (!fractional) {
        auto [q, ec] = std::from_chars(p, last, t.integer);
        if (ec == std::errc() && q == last) {
            t.kind = XTokenKind::Integer;
            t.number = static_cast<double>(t.integer);
            return t;
        }
    }
    auto [q, ec] = std::from_chars(p, last, t.number);
    if (ec == std::errc() && q == last && std::isfinite(t.number)) {
        t.kind = XTokenKind::Float;
        return t;
    }
    if (ec == std::errc::result_out_of_range) return Fail("number out of range");
    t.kind = XTokenKind::Name;  // "3DSMesh" and the like: a name that starts with a digit
    return t;
}

XToken XTokenizer::ReadBinary() {
    XToken t;
    t.offset = pos_;
    if (listLeft_ > 0) {
        --listLeft_;
        if (listKind_ == kTokIntegerList) {
            t.kind = XTokenKind::Integer;
            t.integer = Word32(data_ + pos_);
            t.number = static_cast<double>(t.integer);
            pos_ += 4;
        } else if (doubles_) {
            std::memcpy(&t.number, data_ + pos_, 8);
            t.kind = XTokenKind::Float;
            pos_ += 8;
        } else {
            float f;
            std::memcpy(&f, data_ + pos_, 4);
            t.number = f;
            t.kind = XTokenKind::Float;
            pos_ += 4;
        }
        return t;
    }
    if (pos_ >= size_) return XToken{XTokenKind::End, {}, 0, 0, size_};
    if (size_ - pos_ < 2) return Fail("token cut off at the end of the file");
    uint16_t code = Word16(data_ + pos_);
    pos_ += 2;
    const char* base = reinterpret_cast<const char*>(data_);
    size_t rest = size_ - pos_;
    switch (code) {
        case kTokName:
        case kTokString: {
            if (rest < 4) return Fail("name length cut off");
            uint32_t count = Word32(data_ + pos_);
            if (count > rest - 4) return Fail("name or string longer than the file");
            t.kind = code == kTokName ? XTokenKind::Name : XTokenKind::String;
            t.text = std::string_view(base + pos_ + 4, count);
            pos_ += 4 + count;
            // A string's terminating ';' or ',' follows as an ordinary separator token.
            return t;
        }
        case kTokInteger:
            if (rest < 4) return Fail("integer cut off");
            t.kind = XTokenKind::Integer;
            t.integer = Word32(data_ + pos_);
            t.number = static_cast<double>(t.integer);
            pos_ += 4;
            return t;
        case kTokGuid:
            if (rest < 16) return Fail("GUID cut off");
            t.kind = XTokenKind::Guid;
            t.text = std::string_view(base + pos_, 16);
            pos_ += 16;
            return t;
        case kTokIntegerList:
        case kTokFloatList: {
            if (rest < 4) return Fail("list length cut off");
            uint32_t count = Word32(data_ + pos_);
            pos_ += 4;
            size_t width = code == kTokFloatList && doubles_ ? 8 : 4;
            if (count > (rest - 4) / width) return Fail("list longer than the file");
            listKind_ = code;
            listLeft_ = count;
            // An empty list is simply no values.
            return ReadBinary();
        }
        case kTokOpenBrace:
            t.kind = XTokenKind::OpenBrace;
            return t;
        case kTokCloseBrace:
            t.kind = XTokenKind::CloseBrace;
            return t;
        case kTokComma:
        case kTokSemicolon:
            t.kind = XTokenKind::Separator;
            return t;
        case kTokTemplate:
            t.kind = XTokenKind::Name;
            t.text = "template";
            return t;
        default:
            // Brackets, angles, the dot and the type keywords only appear inside templates.
            if ((code >= 0x0c && code <= 0x12) || (code >= 0x28 && code <= 0x34)) {
                t.kind = XTokenKind::Punct;
                return t;
            }
            pos_ -= 2;
            return Fail("unknown binary token");
    }
}
