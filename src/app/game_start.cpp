#include "app/game_start.h"
#include "app/settings_screen.h"

#include "app/world_reset.h"

#include "field/field_script.h"

#include <cstdio>
#include <cstring>

#include "app/modes.h"
#include "app/save_game.h"
#include "base/crt_rand.h"
#include "base/host.h"
#include "base/paths.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/menu_screen.h"
#include "field/save_screen.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/texture_slots.h"
#include "script/script_runner.h"
#include "sound/sound.h"
#include "ui/talk_window.h"
#include "ui/ui_textures.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/projection.h"

namespace {

// The field script every new game starts from.
constexpr const char* kFirstScript = "test";

// Copies a name into a fixed buffer, cut to fit.
template <size_t N>
void CopyName(char (&dst)[N], const char* src) {
    std::snprintf(dst, N, "%s", src ? src : "");
}

}  // namespace

void StartupFrame() {
    // A game starts from the world as a fresh program has it, whatever an earlier game left.
    ResetGameWorld();
    g_FrameProc = FieldFrame;
    SetUpFirstFrame();
    GameStart();
}

void SetUpFirstFrame() {
    // The modes the menu-screen fade switches between.
    g_FieldFrameProc = FieldFrame;
    g_MenuScreenFrameProc = MenuScreenFrame;
    g_WriteGameToSlot = SaveGame;
    InstallSettingsScreen();
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

bool GameDataPresent(std::string& why) {
    if (GameFileExists(std::string(GetBasePath()) + "SCR\\" + kFirstScript + ".qd")) return true;
    why = "no game data in " + DataDirectory() + " (SCR/" + kFirstScript +
          ".qd, the script a new game starts from, is not there; --data names the data folder)";
    return false;
}

void GameStart() {
    CrtSrand(GameSeed(g_Host.clock ? g_Host.clock->GetTickCount() : 0));
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
    CopyName(g_FieldScriptName, kFirstScript);
    g_ScriptResumePos = 0;

    StartField();
    g_pGameState->fieldScript.running = 1;

    UpdateCameraEye();

    LoadSoundEffect(0, "SE\\c0.wav");
    LoadSoundEffect(1, "SE\\c1.wav");

    g_PartyOrder[0] = 1;
    g_PartyOrder[1] = 0;
    g_PartyOrder[2] = 3;
    CopyName(g_BattleMusicName, "btl0");

    BindPartyFighters();
}
