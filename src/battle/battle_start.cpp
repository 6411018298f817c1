// Setting up a fight: the battle ground, the fighters on their home places, the first event and
// the camera swinging in.
#include <cstring>
#include <memory>

#include "base/crt_rand.h"
#include "base/frame.h"
#include "battle/battle.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/texture.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh_holder.h"
#include "math/math_scalar.h"
#include "script/camera_motion.h"
#include "sound/sound.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/party.h"
#include "world/scene_objects.h"
#include "world/scene_trail.h"

namespace {

constexpr int kFieldLightsOnDevice = 20;  // device lights 1-20 belong to the field
constexpr float kBattleGroundScale = 40.0f;
constexpr uint32_t kFirstTrailColour = 0xFF000000u;
constexpr int kFirstTrailOwner = 1;

// The field's lights and pictures are of no use on the battle ground.
void ClearFieldScenery() {
    if (GfxDevice* dev = g_pd3dDevice)
        for (int i = 1; i <= kFieldLightsOnDevice; ++i) dev->LightEnable(uint32_t(i), false);
    for (Billboard& b : g_Billboards) {
        if (!b.image) continue;
        // Several billboards may show one slot: its texture is released once.
        if (b.image->texture) {
            b.image->texture->Release();
            b.image->texture = nullptr;
        }
        b.image = nullptr;
    }
    for (int i = 0; i < kFieldObjectCount; ++i) ClearFieldObject(i);
    ClearKeys();
}

// Party in a row behind the ground's middle facing the enemies, enemies in a row in front.
void PlaceFighters(Battle& b) {
    for (int i = 0; i < kBattleFighterCount; ++i) {
        Character& c = g_Characters[i];
        if (i < kFirstEnemySlot) {
            c.rotation.y = 180.0f * kDegToRad;
            b.home[i].Set(float((i - 1) * 896), 0.0f, 1024.0f);
            const int32_t member = g_PartyOrder[i];
            if (member >= 0 && member < kPartyMemberCount) c.LoadCharacter(g_FaceNames[member]);
        } else {
            // The enemies' characters were loaded with their status files.
            c.rotation.y = 360.0f * kDegToRad;
            b.home[i].Set(float((i - 5) * 448), 0.0f, -1024.0f);
        }
    }
}

void SetUpFighter(Battle& b, int i) {
    Character& c = g_Characters[i];
    const FighterRecord* f = g_Fighters[i];
    b.alive[i] = 0;
    b.gauge[i] = CrtRand() % 2500;
    b.running[i] = 0;
    b.statusBits[i] = 0;
    if (c.active) {
        c.position = b.home[i];
        b.alive[i] = 1;
        b.shownHp[i] = f ? f->hp : 0;
        b.hpStep[i] = 0;
        b.shownMp[i] = f ? f->mp : 0;
        b.mpStep[i] = 0;
    }
    b.criticalFlags[i] = 0;
    b.trailColour[i] = kDefaultTrailColour;
    // A slot without a status record has nobody to fight.
    if (!f || f->hp == 0) b.alive[i] = 0;
    if (c.active) {
        c.motionFlags = kMotionPlaying;
        SetStance(i);
        LoadWeapon(i, kWeaponSlot);
        c.KeepMotionsWithPrefix("btl_");
    }
}

// Eight frames in which the camera comes 1024 units closer while its target moves onto the
// middle of the ground.
void SwingCameraIn(const HomeCamera& home) {
    g_Camera.target = home.target;
    g_Camera.angle = home.angle;
    g_Camera.distance = home.distance;
    g_Camera.eye.y = home.eyeY;
    UpdateCameraEye();
    g_Camera.distance += 1024.0f;
    StartMove(2, 8, Vector3{g_Camera.angle, g_Camera.distance - 1024.0f, g_Camera.eye.y});
    StartMove(3, 8, Vector3{0.0f, 512.0f, 0.0f});
    SetMode(1);
}

}  // namespace

void LoadBattleField() {
    ResetFieldObject(0);
    if (!g_FieldMeshes[0]) g_FieldMeshes[0] = std::make_unique<XMeshHolder>();
    FieldObject& ground = g_FieldObjects[0];
    ground.mesh = g_FieldMeshes[0].get();
    ground.scale.Set(kBattleGroundScale, kBattleGroundScale, kBattleGroundScale);
    ground.kind = kObjectMesh;
    g_FieldMeshes[0]->load("fld1", "btlFld\\");
}

void StartBattle() {
    Battle* pb = g_pBattle.get();
    if (!pb) return;
    Battle& b = *pb;
    g_pHomeCamera = &b.homeCamera;
    b.frameHandler = BattleIntro;
    b.hudVisible = 0;
    b.markerAngle = 0.0f;
    b.techniqueScript.running = 0;

    LoadTextureSlot(g_TextureSlots[0], "tex\\tile0.bmp");
    ClearFieldScenery();
    PlaceFighters(b);
    LoadBattleField();
    g_Camera.handler = NullFrameHook;

    for (int i = 0; i < kBattleFighterCount; ++i) SetUpFighter(b, i);
    ResetWeaponTrail();
    StartWeaponTrail(kFirstTrailColour, kFirstTrailOwner);

    for (DamageLabel& l : b.labels) l = DamageLabel{};
    b.messageCounter = 0;
    b.message[0] = '\0';
    b.menuList.open = 0;

    LoadSoundEffect(2, "SE\\cmnd.wav");

    LoadEventScript(0);
    StartEvent(b.eventScript, "INING");
    // After the opening event, which may have set the home camera.
    SwingCameraIn(b.homeCamera);
}
