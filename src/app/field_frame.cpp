#include "app/field_frame.h"

#include "app/game_state.h"
#include "battle/menu_list.h"
#include "battle/talk_window.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "script/script_runner.h"
#include "world/field_camera.h"
#include "world/field_runtime.h"
#include "world/scene_render.h"

void (*g_RunFieldScript)() = RunFieldScript;

void FieldFrame() {
    FieldUpdate();
    if (g_Camera.handler) g_Camera.handler();
    DrawGround();
    DrawCharacters();
    DrawBillboards();
    if (g_pd3dDevice) g_pd3dDevice->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    DrawTalkWindows();
    GameState* gs = g_pGameState;
    if (!gs) return;
    if (gs->messageWindow.open) DrawList(gs->messageWindow, kListEntryCount);
    if (gs->fieldHandler) gs->fieldHandler();
    // The transition handler may have left the field; the script runs only on a game state.
    gs = g_pGameState;
    if (gs && gs->fieldScript.running && g_RunFieldScript) g_RunFieldScript();
}
