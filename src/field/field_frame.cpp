#include "field/field_frame.h"

#include "field/field_runtime.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "field/save_screen.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/field_camera.h"
#include "world/scene_render.h"

void (*g_RunFieldScript)() = RunFieldScript;

void DrawGround() {
    if (!g_pGameState || !g_pGameState->fieldInfo) {
        DrawSky();
        return;
    }
    DrawGround(*g_pGameState->fieldInfo, g_pGameState->groundLighting);
}

void FieldFrame() {
    // The save screen holds the field still: its keys instead of the field's, and no camera
    // motion, transition or script until it has closed.
    const bool held = g_SaveScreen.open;
    if (held) {
        SaveScreenInput();
    } else {
        FieldUpdate();
        if (g_Camera.handler) g_Camera.handler();
    }
    DrawGround();
    DrawCharacters();
    DrawBillboards();
    if (g_pd3dDevice) g_pd3dDevice->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    DrawTalkWindows();
    GameState* gs = g_pGameState;
    if (!gs) return;
    if (gs->messageWindow.open) DrawList(gs->messageWindow, kListEntryCount);
    if (held) {
        DrawSaveScreen();
        return;
    }
    if (gs->fieldHandler) gs->fieldHandler();
    // The transition handler may have left the field; the script runs only on a game state.
    gs = g_pGameState;
    if (gs && gs->fieldScript.running && g_RunFieldScript) g_RunFieldScript();
}
