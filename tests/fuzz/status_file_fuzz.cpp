// Party status files come from authors and modders: any text must read as far as it goes,
// keep the names inside their fields and be reported at most once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "app/host.h"
#include "app/message_box.h"
#include "app/null_host.h"
#include "world/party.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    g_Host.dialogs = &dialogs;
    g_MessageBoxLog.clear();
    if (size == 0) return 0;
    const int member = data[0] % kPartyMemberCount;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool complete = ReadPartyStatusText(member, text, "fuzz");
    if (g_MessageBoxLog.size() != (complete ? 0u : 1u)) __builtin_trap();
    if (std::memchr(g_PartyMembers[member].name, 0, kFighterNameSize) == nullptr) __builtin_trap();
    if (std::memchr(g_FaceNames[member], 0, kFaceNameSize) == nullptr) __builtin_trap();
    if (complete) {
        BindPartyFighters();
        RestoreStatus(g_PartyMembers[member]);
    }
    return 0;
}
