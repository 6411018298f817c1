// Enemy status files come from authors and modders: any text must read as far as it goes, keep
// the name inside its field, be reported at most once and name a character only when whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/host.h"
#include "app/message_box.h"
#include "app/null_host.h"
#include "battle/enemy_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    g_Host.dialogs = &dialogs;
    g_MessageBoxLog.clear();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FighterRecord r;
    std::string character;
    const bool complete = ReadEnemyStatusText(r, text, "fuzz", character);
    if (g_MessageBoxLog.size() != (complete ? 0u : 1u)) std::abort();
    if (complete == character.empty()) std::abort();
    if (std::memchr(r.name, 0, kFighterNameSize) == nullptr) std::abort();
    return 0;
}
