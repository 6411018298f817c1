#include "app/quit.h"

#include "base/message_queue.h"
#include "battle/battle.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "gfx/texture.h"
#include "ui/ui_textures.h"
#include "world/character.h"
#include "world/party.h"

void ReleaseWorldOnQuit() {
    DestroyCharacterModels();
    for (TextureSlot& slot : g_UiTextures) {
        if (slot.texture) {
            slot.texture->Release();
            slot.texture = nullptr;
        }
    }
    ReleaseMenuFaces();
    delete g_pGameState;
    g_pGameState = nullptr;
    g_pHomeCamera = nullptr;
    g_pBattle.reset();
    FreeEnemyFighters();
}

void EndGame() {
    ReleaseWorldOnQuit();
    g_MessageQueue.Post(WM_CLOSE, kCloseAtOnce);
}
