#include "platform/iconv_codec.h"

#include <iconv.h>

#include <cerrno>

namespace {

bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(in);
        return false;
    }
    bool ok = true;
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or cut-off sequence: mark it and go on after its first byte.
            ok = false;
            out.push_back('?');
            ++src;
            --srcLeft;
        }
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    iconv_close(cd);
    return ok;
}

}  // namespace

bool IconvCodec::Cp932ToUtf8(std::string_view in, std::string& out) {
    return Convert("UTF-8", "CP932", in, out);
}

bool IconvCodec::Utf8ToCp932(std::string_view in, std::string& out) {
    return Convert("CP932", "UTF-8", in, out);
}
