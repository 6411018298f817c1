// rok files are line-based text; sections are found by keywords and read by line counts.
#include "import_fuzz_common.h"
#include "model/importers/import_rok.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (importfuzz::Setup(), true);
    (void)init;
    // The first byte decides whether the edges are kept as faces.
    const bool edges = size > 0 && (data[0] & 1);
    importfuzz::Run(data, size, [edges](RZ_Model& m, GfxDevice*, std::string_view text) {
        return ImportRokText(m, text, edges);
    });
    return 0;
}
