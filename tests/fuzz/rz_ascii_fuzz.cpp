// ASCII RZ objects are hand-edited text: the tokenizer and reader must stay inside the text and
// the model's tables whatever it holds. The fuzzer's text follows the header line.
#include "rz_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (rzfuzz::Setup(), true);
    (void)init;
    rzfuzz::Run("RZ Object format V02.00 ASCII \r\n", data, size);
    return 0;
}
