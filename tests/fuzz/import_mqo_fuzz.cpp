// Metasequoia documents: tokens, nested object blocks and binary vertex blocks whose sizes the
// file states.
#include "import_fuzz_common.h"
#include "model/importers/import_mqo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (importfuzz::Setup(), true);
    (void)init;
    importfuzz::Run(data, size, [](RZ_Model& m, GfxDevice* device, std::string_view text) {
        return ImportMqoText(m, device, text, nullptr);
    });
    return 0;
}
