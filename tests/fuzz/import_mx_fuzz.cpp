// mx files are binary: offsets and counts in the header and layer table point into the file.
#include "import_fuzz_common.h"
#include "model/importers/import_mx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (importfuzz::Setup(), true);
    (void)init;
    importfuzz::Run(data, size, [](RZ_Model& m, GfxDevice*, std::string_view bytes) {
        return ImportMxBytes(m, bytes);
    });
    return 0;
}
