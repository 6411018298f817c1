// Game paths come from data files: any bytes must resolve or fail without harm.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/host.h"
#include "app/paths.h"
#include "platform/iconv_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static IconvCodec codec;
    static bool init = [] {
        g_Host.codec = &codec;
        g_Host.executableDir = "/tmp";
        return true;
    }();
    (void)init;
    std::string path(reinterpret_cast<const char*>(data), size);
    ResolveGamePath(path);
    ResolveGamePath(std::string(GetBasePath()) + path);
    if (size > 0 && size < 64) ClearPathCache();
    return 0;
}
