#include "app/game_start.h"
#include "app/settings_screen.h"

#include "app/world_reset.h"

#include "base/fixed_text.h"
#include "field/field_script.h"

#include <cstdio>
#include <cstring>

#include "app/modes.h"
#include "app/save_game.h"
#include "base/crt_rand.h"
#include "base/diagnostics.h"
#include "base/host.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/field_triggers.h"
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
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/projection.h"

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

StartPlace g_StartPlace;

bool ParseStartPlace(const std::string& text, StartPlace& out, std::string& why) {
    StartPlace place;
    place.moved = true;
    std::string parts[3];
    size_t part = 0;
    for (char c : text) {
        if (c == ':' && part < 2)
            ++part;
        else
            parts[part] += c;
    }
    if (parts[0].empty()) {
        why = "--start wants FIELD[:SCRIPT[:LABEL]], not \"" + text + "\"";
        return false;
    }
    place.field = ToSjis(parts[0]);
    place.script = parts[1].empty() ? place.field : ToSjis(parts[1]);
    place.label = ToSjis(parts[2]);
    if (place.field.size() >= kFieldNameSize || place.script.size() >= kScriptNameSize ||
        place.label.size() > 63) {
        why = "--start: a name in \"" + text + "\" is longer than the game keeps";
        return false;
    }
    out = place;
    return true;
}

bool GameDataPresent(std::string& why, const std::string& where) {
    const StartPlace& at = g_StartPlace;
    const std::string script = "SCR\\" + at.script + ".qd", field = "Field\\" + at.field + ".qf";
    std::string missing;
    if (!GameFileExists(GetBasePath() + script))
        missing = ShownPath(script) + " (the script a new game starts from)";
    if (!GameFileExists(GetBasePath() + field))
        missing += (missing.empty() ? "" : " and ") + ShownPath(field) + " (its first field)";
    if (missing.empty()) return true;
    why = "no game data in " + (where.empty() ? DataDirectory() : where) + ": " + missing +
          (missing.find(" and ") != std::string::npos ? " are" : " is") +
          " not there. --data names the data folder.";
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

    CopyFixedText(g_FieldName, g_StartPlace.field.c_str());
    CopyFixedText(g_FieldScriptName, g_StartPlace.script.c_str());
    g_ScriptResumePos = 0;

    StartField();
    g_pGameState->fieldScript.running = 1;
    if (!g_StartPlace.label.empty()) StartFieldScriptAt(g_StartPlace.label.c_str());

    UpdateCameraEye();

    LoadSoundEffect(0, "SE\\c0.wav");
    LoadSoundEffect(1, "SE\\c1.wav");

    g_PartyOrder[0] = 1;
    g_PartyOrder[1] = 0;
    g_PartyOrder[2] = 3;
    CopyFixedText(g_BattleMusicName, "btl0");

    BindPartyFighters();
}
