// contentgen: builds the demo adventure's data directories from content/, and the program's
// icons for the desktop.
//   contentgen CONTENT_DIR OUT_DIR [MANIFEST]
//   contentgen --icons OUT_DIR
#include <chrono>
#include <cstdio>
#include <string>

#include "base/host.h"
#include "build_content.h"
#include "icon_picture.h"
#include "platform/iconv_codec.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        std::string error;
        if (WriteIcons(argv[2], error)) return 0;
        std::fprintf(stderr, "contentgen: %s\n", error.c_str());
        return 1;
    }
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: contentgen CONTENT_DIR OUT_DIR [MANIFEST]\n"
                     "       contentgen --icons OUT_DIR\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    // Names in the built data are Shift-JIS; messages show them in UTF-8.
    static IconvCodec codec;
    g_Host.codec = &codec;
    OutputTree out;
    Diagnostics diag;
    const bool built = BuildContent(argv[1], out, diag);
    for (const std::string& m : diag.Messages())
        std::fprintf(stderr, "contentgen: %s\n", m.c_str());
    if (!built) {
        const size_t n = diag.Messages().size();
        std::fprintf(stderr, "contentgen: %zu error%s; nothing written\n", n, n == 1 ? "" : "s");
        return 1;
    }
    OutputTree::WriteResult r = out.Write(argv[2], argc == 4 ? argv[3] : "");
    for (const std::string& e : r.errors) std::fprintf(stderr, "contentgen: %s\n", e.c_str());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("contentgen: %zu files (%d written, %d unchanged, %d removed) in %lld ms\n",
                out.Files().size(), r.written, r.unchanged, r.removed,
                static_cast<long long>(ms.count()));
    return r.ok ? 0 : 1;
}
