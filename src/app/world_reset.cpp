#include "app/world_reset.h"

#include <cstring>

#include "app/game_start.h"
#include "app/settings_screen.h"
#include "app/title_menu.h"
#include "base/crt_rand.h"
#include "base/frame.h"
#include "base/keys.h"
#include "base/paths.h"
#include "base/report_once.h"
#include "battle/battle.h"
#include "battle/battle_scripts.h"
#include "field/field_runtime.h"
#include "field/field_save.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "field/menu_pages.h"
#include "field/save_screen.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "script/camera_motion.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "ui/talk_window.h"
#include "ui/ui_textures.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/encounters.h"
#include "world/field_camera.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/inventory.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/play_time.h"
#include "world/projection.h"
#include "world/scene_objects.h"
#include "world/scene_trail.h"
#include "world/scene_view.h"

namespace {

// The objects that live for one mode, and what points into them.
void DeleteModeObjects() {
    delete g_pGameState;
    g_pGameState = nullptr;
    g_pHomeCamera = nullptr;
    g_pBattle.reset();
    g_FieldSave.reset();
}

void ResetWorldTables() {
    for (int i = 0; i < kFieldLightCount; ++i) DeleteFieldLight(i);
    ReleaseFieldTables();
    ReleaseDataTables();
    for (TextureSlot& slot : g_TextureSlots) EmptyTextureSlot(slot);
    for (TextureSlot& slot : g_UiTextures) EmptyTextureSlot(slot);
}

void ResetNames() {
    std::memset(g_FieldName, 0, sizeof g_FieldName);
    std::memset(g_FieldScriptName, 0, sizeof g_FieldScriptName);
    std::memset(g_FieldMusicName, 0, sizeof g_FieldMusicName);
    g_ScriptResumePos = 0;
    ResetBattleScriptNames();
}

}  // namespace

void ResetGameWorld() {
    DeleteModeObjects();
    ResetCharacters();
    ResetParty();
    ResetInventory();
    ResetEnemySet();
    ResetWorldTables();
    for (int32_t slot = 0; slot < kSeSlotCount; ++slot) ReleaseSoundEffect(slot);
    ResetBgm();
    ResetNames();

    ResetCamera();
    ResetProjection();
    SetSceneViewSource(nullptr);
    ResetWeaponTrail();
    ResetTalkWindows();
    ResetSpriteParameters();
    g_TextRect = {0, 0, 640, 480};

    ResetModeWords();
    g_PlayTimeMs = 0;
    g_UnsavedProgress = false;
    ResetFieldRuntime();
    g_FieldFrameProc = g_MenuScreenFrameProc = nullptr;
    g_WriteGameToSlot = nullptr;
    g_OpenSettingsScreen = nullptr;
    g_SettingsOverMenu = OverMenuScreen();
    CloseSettingsScreen();
    CloseSaveScreen();
    ResetMenuScreenState();
    ReleaseMenuFaces();
    CloseTitleMenu();
    ResetKeys();
    g_FadeR = g_FadeG = g_FadeB = g_FadeAlpha = 0;
    CrtSrand(1);

    ResetReportedOnce();
    ResetFieldObjectReports();
    ClearPathCache();

    g_FrameProc = StartupFrame;
}
