#include "base/sjis.h"

#include "base/host.h"

std::string ToSjis(std::string_view utf8) {
    if (!g_Host.codec) return std::string(utf8);
    std::string out;
    g_Host.codec->Utf8ToCp932(utf8, out);
    return out;
}

std::string ToUtf8(std::string_view sjis) {
    if (!g_Host.codec) return std::string(sjis);
    std::string out;
    g_Host.codec->Cp932ToUtf8(sjis, out);
    return out;
}

bool SjisCodecReady() {
    return g_Host.codec != nullptr;
}
