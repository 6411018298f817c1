// Game paths come from data files: any bytes must resolve or fail without harm.
#include <string>

#include "base/paths.h"
#include "base/report_once.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A small data folder of its own: the temporary folder may hold thousands of entries, each
    // listed on every lookup.
    static bool init = (fuzz::QuietHost(), fuzz::DataDir("paths", {"SCR/wz", "Datas"}), true);
    (void)init;
    const std::string path(reinterpret_cast<const char*>(data), size);
    ResolveGamePath(path);
    ResolveGamePath(std::string(GetBasePath()) + path);
    // Every input leaves the cache as it found it.
    fuzz::FreshRun::Forget();
    return 0;
}
