#include "app/game_start.h"

#include <cstdio>
#include <cstring>

#include "app/crt_rand.h"
#include "app/field_frame.h"
#include "app/game_state.h"
#include "app/host.h"
#include "app/menu_screen.h"
#include "app/mode_words.h"
#include "app/modes.h"
#include "app/ui_textures.h"
#include "battle/battle.h"
#include "battle/data_tables.h"
#include "battle/talk_window.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/texture_slots.h"
#include "script/commands_field.h"
#include "script/script_runner.h"
#include "sound/sound.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_runtime.h"
#include "world/field_tables.h"
#include "world/field_transitions.h"
#include "world/party.h"
#include "world/projection.h"

char g_FieldScriptName[kScriptNameSize] = {};
int32_t g_ScriptResumePos = 0;

namespace {

// Copies a name into a fixed buffer, cut to fit.
template <size_t N>
void CopyName(char (&dst)[N], const char* src) {
    std::snprintf(dst, N, "%s", src ? src : "");
}

}  // namespace

void StartupFrame() {
    g_FrameProc = FieldFrame;
    // The modes the menu-screen fade switches between.
    g_FieldFrameProc = FieldFrame;
    g_MenuScreenFrameProc = MenuScreenFrame;
    g_Camera.eye.Set(0.0f, 3000.0f, -400.0f);
    g_Camera.angle = 0.0f;
    g_Camera.distance = 2000.0f;
    g_Camera.target.Set(2000.0f, 200.0f, -2000.0f);
    UseCameraForScene();
    if (GfxDevice* dev = g_pd3dDevice) {
        dev->SetRenderState(RenderState::CullMode, Cull::None);
        dev->SetRenderState(RenderState::ZEnable, 1);
        dev->SetRenderState(RenderState::ZWriteEnable, 1);
        dev->SetRenderState(RenderState::AlphaBlendEnable, 0);
    }
    SetupLighting();
    GameStart();
}

void SetupLighting() {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    Material material;
    material.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    material.ambient = {0.5f, 0.5f, 0.5f, 0.0f};
    Light light;
    light.type = LightType::Directional;
    light.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.ambient = {light.diffuse.r * 0.75f, light.diffuse.g * 0.75f, light.diffuse.b * 0.75f,
                     0.0f};
    light.position = {-20.0f, 100.0f, -20.0f};
    light.direction = {0.0f, 0.0f, 1.0f};
    dev->SetRenderState(RenderState::Lighting, 1);
    dev->SetRenderState(RenderState::ShadeMode, Shade::Gouraud);
    dev->SetRenderState(RenderState::SpecularEnable, 0);
    dev->SetLight(0, light);
    dev->LightEnable(0, true);
    dev->SetMaterial(material);
    dev->SetRenderState(RenderState::NormalizeNormals, 1);
}

void GameStart() {
    CrtSrand(GameSeed(g_Host.clock ? g_Host.clock->GetTickCount() : 0));
    // The field scripts' own commands; the runner reports an "f" while none is installed.
    g_FieldCommandHandler = ExecFieldCommand;
    ResetEnemySet();

    delete g_pGameState;
    g_pGameState = new GameState();
    g_ResumeScriptAfterFade = 0;

    LoadDataTables();

    g_ModeChangeRequest = 0;
    g_ActionTimer = kActionDelayMs;
    SetFieldProjection();

    // Field objects and mesh holders, billboards, objects turned round, lights out of the field.
    StartFieldTables();

    LoadTextureSlot(g_TextureSlots[0], "tex\\paris0.bmp");
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tex\\sky0_%d.bmp", i);
        LoadTextureSlot(g_TextureSlots[1 + i], name);
    }

    // Every member's file, then full points and attack and defence from their bases.
    LoadPartyStatus();

    g_pGameState->groundLighting = 0;

    Character& leader = g_Characters[0];
    leader.LoadCharacter("harlo");
    leader.position.x = 16384.0f;
    leader.position.z = -12288.0f;

    LoadTextureSlot(g_UiTextures[0], "tex\\cur.dds");
    LoadTextureSlot(g_UiTextures[1], "tex\\use0.dds");

    g_Camera.handler = NullFrameHook;

    CopyName(g_FieldName, "baske0");
    CopyName(g_FieldScriptName, "test");
    g_ScriptResumePos = 0;

    StartField();
    g_pGameState->fieldScript.running = 1;

    UpdateCameraEye();

    LoadWaveSound(&g_SeSlots[0], "SE\\c0.wav");
    LoadWaveSound(&g_SeSlots[1], "SE\\c1.wav");

    g_PartyOrder[0] = 1;
    g_PartyOrder[1] = 0;
    g_PartyOrder[2] = 3;
    CopyName(g_BattleMusicName, "btl0");

    BindPartyFighters();
}

void LoadFieldScript(const char* name) {
    // The name may be g_FieldScriptName itself.
    char copy[kScriptNameSize];
    CopyName(copy, name);
    CopyName(g_FieldScriptName, copy);
    if (g_pGameState) g_pGameState->fieldScript.Load(g_FieldScriptName);
}

void StartField() {
    GameState* gs = g_pGameState;
    if (!gs) return;
    g_EncounterRate = 8;
    g_FieldInputEnabled = 0;

    LoadFieldScript(g_FieldScriptName);
    QScrOrg& script = gs->fieldScript;
    // A kept position past the text would read outside it; such a script ends at once instead.
    script.pc = g_ScriptResumePos >= 0 && g_ScriptResumePos < QScrOrg::kTextSize
                    ? g_ScriptResumePos
                    : script.EndOfText();
    script.aux = 15;
    script.running = 0;

    Character& second = g_Characters[1];
    second.rotation.y = 0.0f;
    second.position.Set(20000.0f, 0.0f, -10240.0f);

    gs->messageWindow.open = 0;
    ClearList(gs->messageWindow);
    CloseTalkWindows();

    g_ModeNow = 0;
    g_ModeNext = 0;

    ReloadField();
}

void ReloadField() {
    GameState* gs = g_pGameState;
    if (!gs) return;
    if (!gs->fieldInfo) gs->fieldInfo = std::make_unique<QFldInfo>();
    gs->fieldInfo->load(g_FieldName);
    gs->walkAnimating = 0;
    gs->fieldHandler = FieldFadeIn;
}
