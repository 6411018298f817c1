// Game paths come from data files: any bytes must resolve or fail without harm.
#include <string>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), g_Host.executableDir = "/tmp", true);
    (void)init;
    const std::string path(reinterpret_cast<const char*>(data), size);
    ResolveGamePath(path);
    ResolveGamePath(std::string(GetBasePath()) + path);
    if (size > 0 && size < 64) ClearPathCache();
    return 0;
}
