#include "app/mode_change.h"
#include "field/field_script.h"

#include <memory>

#include "app/game_start.h"
#include "app/modes.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/message_queue.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_save.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "script/camera_motion.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/projection.h"

namespace {

// Enemy slot i reads enemy g_EnemySet[i - 3]; a negative number leaves the slot empty: a
// nameless record without points and no character, so nobody stands or can be chosen there.
// The slot's character (a field character the field save keeps) is emptied first: only an
// enemy whose file was read stands there, not a villager in place of a missing file.
void SetUpEnemies() {
    for (int i = kFirstEnemySlot; i < kBattleFighterCount; ++i) {
        if (!g_Fighters[i]) g_Fighters[i] = new FighterRecord();
        *g_Fighters[i] = FighterRecord();
        g_Characters[i].Release();
        g_Characters[i].active = 0;
        const int32_t enemy = g_EnemySet[i - kFirstEnemySlot];
        if (enemy >= 0) ReadEnemST(i, enemy);
    }
}

void FieldToBattle() {
    g_FieldSave = std::make_unique<FieldSave>();
    SaveFieldState();
    if (g_pGameState) {
        g_pGameState->fieldInfo.reset();
        g_ScriptResumePos = g_pGameState->fieldScript.pc;
    }
    delete g_pGameState;
    g_pGameState = nullptr;

    g_pBattle = std::make_unique<Battle>();
    g_pHomeCamera = &g_pBattle->homeCamera;
    g_FrameProc = BattleFrame;
    SetBattleProjection();
    g_EncounterPending = 0;
    SetUpEnemies();
    for (int i = 0; i < kBattleFighterCount; ++i) {
        g_pBattle->action[i] = 0;
        g_pBattle->target[i] = 0;
    }
    StartBattle();
}

void BattleToField() {
    g_pHomeCamera = nullptr;
    g_pBattle.reset();
    FreeEnemyFighters();

    delete g_pGameState;
    g_pGameState = new GameState();
    StartField();
    g_pGameState->fieldHandler = FieldFadeIn;
    g_FrameProc = FieldFrame;
    SetFieldProjection();
    // A camera path the battle started (an event's, the victory's) ends with the battle, or it
    // would go on moving the field's camera away from where it is put back.
    g_Camera.handler = NullFrameHook;
    RestoreFieldState();
    g_FieldSave.reset();
    ReloadField();
    // The script goes on where it stood, without a fade of its own.
    g_pGameState->fieldScript.aux = 0;
}

}  // namespace

void QModeChange() {
    if (g_ModeNow == 1 && g_ModeNext == 0) {
        FieldToBattle();
    } else if (g_ModeNow == 0 && g_ModeNext == 1) {
        BattleToField();
    } else if (g_ModeNext == 2) {
        g_MessageQueue.Post(WM_CLOSE, 0, 0);
    } else {
        RZ_MsgBox(SJIS("QModeChange:error\nないっす"),
                  "a mode change from mode " + std::to_string(g_ModeNow) + " to mode " +
                      std::to_string(g_ModeNext) + ", which the game does not have");
    }
    g_ModeChangeRequest = 0;
}
