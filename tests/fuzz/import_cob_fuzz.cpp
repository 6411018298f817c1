// Text trueSpace files: chunk headers with sizes, formatted lines and face corner lists.
#include "import_fuzz_common.h"
#include "model/importers/import_cob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (importfuzz::Setup(), true);
    (void)init;
    importfuzz::Run(data, size, [](RZ_Model& m, GfxDevice* device, std::string_view text) {
        return ImportCobText(m, device, text, nullptr);
    });
    return 0;
}
