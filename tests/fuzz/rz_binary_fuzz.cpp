// Binary RZ objects come from authors and modders: the reader must stay inside the file and the
// model's tables whatever the bytes say. The fuzzer's bytes follow the 30-byte header.
#include "rz_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (rzfuzz::Setup(), true);
    (void)init;
    rzfuzz::Run("RZ Object format V02.00 BINARY", data, size);
    return 0;
}
