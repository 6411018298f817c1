// Save files come from disk, where anything may have happened to them: any bytes must be
// refused with a reason or read whole, and a save that reads must read the same once written
// again.
#include <string_view>

#include "fuzz_common.h"
#include "save/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DecodedSave d = DecodeSave(text, "demo");
    fuzz::Check(d.ok == d.reason.empty(), "a refusal without a reason");
    if (d.ok) {
        const DecodedSave again = DecodeSave(EncodeSave("demo", d.summary, d.body), "demo");
        fuzz::Check(again.ok && again.body == d.body, "a save that does not read back");
    }
    return 0;
}
