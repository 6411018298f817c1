#include "platform/iconv_codec.h"

#include <iconv.h>

#include <cerrno>

namespace {

// One descriptor per direction and thread, opened on first use: opening one per string cost a
// script that jumps to a missing label every step most of its frame (each message converts its
// text).
class Descriptor {
public:
    Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Descriptor() {
        if (Ok()) iconv_close(cd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

bool Convert(const Descriptor& descriptor, std::string_view in, std::string& out) {
    out.clear();
    if (!descriptor.Ok()) {
        out.assign(in);
        return false;
    }
    iconv_t cd = descriptor.Get();
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
    // Ends any shift sequence and leaves the descriptor in its first state for the next string.
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    return ok;
}

}  // namespace

bool IconvCodec::Cp932ToUtf8(std::string_view in, std::string& out) {
    thread_local const Descriptor descriptor("UTF-8", "CP932");
    return Convert(descriptor, in, out);
}

bool IconvCodec::Utf8ToCp932(std::string_view in, std::string& out) {
    thread_local const Descriptor descriptor("CP932", "UTF-8");
    return Convert(descriptor, in, out);
}
