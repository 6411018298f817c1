// The battle event scripts' "e" commands: the end of an event, the battle message and the
// battle's home camera.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "battle/battle.h"
#include "battle/battle_scripts.h"
#include "math/math_scalar.h"
#include "script/command_table.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "world/character_text_reader.h"

namespace {

constexpr int32_t kEventMessageFrames = 64;

Battle* EventBattle(const QScrOrg& s) {
    if (!g_pBattle) ScriptError(s, "battle command outside a battle");
    return g_pBattle.get();
}

void HomeCameraMember(QScrOrg& s) {
    const int32_t what = s.gInt();
    const float value = float(s.gFloat());
    Battle* b = EventBattle(s);
    if (!b) return;
    HomeCamera& cam = b->homeCamera;
    switch (what) {
        case 0:
            cam.angle = value * kDegToRad;
            break;
        case 1:
            cam.distance = value;
            break;
        case 2:
            cam.eyeY = value;
            break;
        case 3:
            cam.target.x = value;
            break;
        case 4:
            cam.target.y = value;
            break;
        case 5:
            cam.target.z = value;
            break;
        default:
            break;
    }
}

// e1: str as the battle message.
void BattleMessage(QScrOrg& s) {
    Battle* b = EventBattle(s);
    if (!b) return;
    // A longer register is cut to the message, never inside a double-byte character.
    const std::string text =
        FitSjis(std::string_view(s.str, strnlen(s.str, sizeof s.str)), sizeof b->message);
    std::memset(b->message, 0, sizeof b->message);
    std::memcpy(b->message, text.data(), text.size());
    b->messageCounter = kEventMessageFrames;
}

constexpr CommandEntry kEventCommandList[] = {
    {0, "end event", "", EndBattleEvent},
    {1, "battle message", "", BattleMessage},
    {2, "home camera", "IF", HomeCameraMember},
};
static_assert(NumberedInOrder(kEventCommandList));

}  // namespace

constinit const CommandTable kEventCommands{'e', kEventCommandList};

void EndBattleEvent(QScrOrg& s) {
    s.running = 0;
    s.stepping = 0;
    if (!g_pBattle) return;
    Battle& b = *g_pBattle;
    b.eventDone = 1;
    b.messageCounter = 0;
    if (b.returnHandler) b.frameHandler = b.returnHandler;
}
