#include "field/field_triggers.h"

#include <cstdio>

#include "base/crt_rand.h"
#include "field/field_move.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "world/character.h"
#include "world/play_time.h"

namespace {

constexpr int kLabelSize = 16;

}  // namespace

void StartFieldScriptAt(const char* label) {
    if (!g_pGameState) return;
    g_UnsavedProgress = true;
    QScrOrg& script = g_pGameState->fieldScript;
    script.pc = 0;
    script.jpAf(label);
    script.running = 1;
}

int FormatPlaceLabel(char* out, uint8_t eventByte) {
    return std::snprintf(out, kLabelSize, "PLACE%d", int(eventByte) - 1);
}

int FormatSpeakLabel(char* out, int32_t character) {
    return std::snprintf(out, kLabelSize, "SPEAK%d", int(character));
}

void LeaderEntersCell(int32_t column, int32_t row, const Vector3& old) {
    if (!g_pGameState) return;
    GameState& gs = *g_pGameState;
    const uint8_t event =
        (gs.fieldInfo && CellInGrid(column, row)) ? gs.fieldInfo->cellEvent[column][row] : 0;
    const bool lastCell = column == gs.lastCellX && row == gs.lastCellRow;
    if ((event & kCellEventMask) != 0 && !lastCell) {
        char label[kLabelSize];
        FormatPlaceLabel(label, event);
        StartFieldScriptAt(label);
        // The leader stays outside the event cell; the last cell stays as it was, so stepping
        // in again starts the event again.
        Character& leader = g_Characters[0];
        leader.position.x = old.x;
        leader.position.z = old.z;
        leader.position.y = GroundHeight(old.x, old.z);
        leader.SetMotion(kMotionStand, 1);
        gs.walkAnimating = 1;
        return;
    }
    gs.lastCellX = column;
    gs.lastCellRow = row;
    // The number is drawn on every such step, whatever the rate, as the seeded game expects.
    if (CrtRand() % 4096 < g_EncounterRate) StartEncounter();
}

int32_t SpeakTrigger() {
    if (!g_pGameState) return 0;
    const int32_t n = FindSpeakTarget(0);
    if (n == 0) return 0;
    char label[kLabelSize];
    FormatSpeakLabel(label, n);
    StartFieldScriptAt(label);
    g_Characters[0].SetMotion(kMotionStand, 1);
    g_pGameState->walkAnimating = 0;
    return n;
}
