#pragma once
#include "base/host.h"

// Code page 932 <-> UTF-8 through iconv. Unconvertible input becomes '?' and the result is false.
class IconvCodec : public ITextCodec {
public:
    bool Cp932ToUtf8(std::string_view in, std::string& out) override;
    bool Utf8ToCp932(std::string_view in, std::string& out) override;
};
