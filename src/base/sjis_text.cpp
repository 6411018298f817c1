#include "base/sjis_text.h"

#include <cstdint>
#include <cstring>

size_t SjisFitLength(std::string_view text, size_t maxBytes) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    size_t at = 0;
    while (at < text.size()) {
        size_t n = SjisCharLength(bytes + at, text.size() - at);
        if (at + n > maxBytes) break;
        at += n;
    }
    return at;
}

void CopySjisField(char* field, size_t capacity, std::string_view text) {
    if (capacity == 0) return;
    text = text.substr(0, text.find('\0'));
    const size_t n = SjisFitLength(text, capacity - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, capacity - n);
}
