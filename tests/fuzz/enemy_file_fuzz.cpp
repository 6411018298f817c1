// Enemy status files come from authors and modders: any text must read as far as it goes, keep
// the name inside its field, be reported at most once and name a character only when whole.
#include <string>
#include <string_view>

#include "battle/enemy_file.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (fuzz::QuietHost(), true);
    (void)init;
    const fuzz::FreshRun fresh;
    FighterRecord r;
    std::string character;
    const bool complete = ReadEnemyStatusText(
        r, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", character);
    fuzz::Check(g_MessageBoxLog.size() == (complete ? 0u : 1u), "reported other than once");
    fuzz::Check(complete != character.empty(), "character named by a broken file");
    fuzz::Check(fuzz::Terminated(r.name), "name without its NUL");
    return 0;
}
