// Party status files come from authors and modders: any text must read as far as it goes,
// keep the names inside their fields and be reported at most once.
#include <string_view>

#include "fuzz_common.h"
#include "world/party.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), true);
    (void)init;
    const fuzz::FreshRun fresh;
    if (size == 0) return 0;
    const int member = data[0] % kPartyMemberCount;
    const bool complete = ReadPartyStatusText(
        member, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), "fuzz");
    fuzz::Check(g_MessageBoxLog.size() == (complete ? 0u : 1u), "reported other than once");
    fuzz::Check(
        fuzz::Terminated(g_PartyMembers[member].name) && fuzz::Terminated(g_FaceNames[member]),
        "name without its NUL");
    if (complete) {
        BindPartyFighters();
        RestoreStatus(g_PartyMembers[member]);
    }
    return 0;
}
