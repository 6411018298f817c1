// Applying a snapshot to a world just reset: the game's start-up as far as it loads what every
// game needs, then the field, its script, the tables, the characters and the rest as they were.
#include <cstdio>
#include <cstring>

#include "app/frame_handlers.h"
#include "app/game_snapshot.h"
#include "app/game_start.h"
#include "base/crt_rand.h"
#include "field/field_runtime.h"
#include "field/field_save.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "field/menu_screen.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh_holder.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "ui/talk_window.h"
#include "ui/ui_textures.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_camera.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/inventory.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/play_time.h"
#include "world/projection.h"

namespace {

template <size_t N>
void CopyText(char (&field)[N], const SavedBytes& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.bytes.data(), std::min(text.bytes.size(), N - 1));
}

Vector3 Vec(const SavedVector& v) {
    return {v.x, v.y, v.z};
}

Quaternion Quat(const std::array<float, 4>& q) {
    return {q[0], q[1], q[2], q[3]};
}

ColorValue Colour(const std::array<float, 4>& c) {
    return {c[0], c[1], c[2], c[3]};
}

Light MakeLight(const SavedLight& l) {
    Light light;
    light.type = LightType(l.type);
    light.diffuse = Colour(l.diffuse);
    light.specular = Colour(l.specular);
    light.ambient = Colour(l.ambient);
    light.position = {l.position.x, l.position.y, l.position.z};
    light.direction = {l.direction.x, l.direction.y, l.direction.z};
    light.range = l.range;
    light.falloff = l.falloff;
    light.attenuation0 = l.attenuation0;
    light.attenuation1 = l.attenuation1;
    light.attenuation2 = l.attenuation2;
    light.theta = l.theta;
    light.phi = l.phi;
    return light;
}

Matrix44 MatrixOf(const std::array<float, 16>& a) {
    Matrix44 m;
    std::memcpy(m.m, a.data(), sizeof m.m);
    return m;
}

// Last, so that nothing loaded after it changes what the next frame starts from.
void ApplyDevice(const SavedDevice& d) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev) return;
    for (size_t i = 0; i < d.renderStates.size() && i < kRenderStateCount; ++i)
        dev->SetRenderState(RenderState(i), d.renderStates[i]);
    for (size_t i = 0; i < d.stageStates.size() && i < kTextureStageStateCount; ++i)
        dev->SetTextureStageState(0, TextureStageState(i), d.stageStates[i]);
    dev->SetTransform(TransformType::World, MatrixOf(d.world));
    dev->SetTransform(TransformType::View, MatrixOf(d.view));
    dev->SetTransform(TransformType::Projection, MatrixOf(d.projection));
    for (size_t i = 0; i < d.lights.size() && i < size_t(kMaxLights); ++i) {
        dev->SetLight(uint32_t(i), MakeLight(d.lights[i]));
        dev->LightEnable(uint32_t(i), d.lights[i].present);
    }
    Material m;
    m.diffuse = Colour(d.diffuse);
    m.ambient = Colour(d.ambient);
    m.specular = Colour(d.specular);
    m.emissive = Colour(d.emissive);
    m.power = d.power;
    dev->SetMaterial(m);
}

void ApplyScript(QScrOrg& q, const SavedScript& s) {
    q.pc = s.pc;
    q.running = s.running;
    q.stepping = s.stepping;
    std::copy(s.iv.begin(), s.iv.end(), q.iv);
    std::copy(s.fv.begin(), s.fv.end(), q.fv);
    CopyText(q.str, s.str);
    q.aux = s.aux;
    q.actor = s.actor;
    q.speed = s.speed;
}

void ApplyGameState(const GameSnapshot& s) {
    GameState& gs = *g_pGameState;
    ApplyScript(gs.fieldScript, s.fieldScript);
    gs.walkAnimating = s.walkAnimating;
    gs.groundLighting = s.groundLighting;
    gs.lastCellX = s.lastCellX;
    gs.lastCellRow = s.lastCellRow;
    gs.fieldHandler = HandlerByName(s.fieldHandler);
    MenuList& l = gs.messageWindow;
    for (int i = 0; i < kListEntryCount; ++i) {
        CopyText(l.entries[i].text, s.messageWindow.entries[size_t(i)].text);
        l.entries[i].value = s.messageWindow.entries[size_t(i)].value;
    }
    l.x = s.messageWindow.x;
    l.y = s.messageWindow.y;
    l.w = s.messageWindow.w;
    l.h = s.messageWindow.h;
    l.open = s.messageWindow.open;
    l.first = s.messageWindow.first;
    l.cursor = s.messageWindow.cursor;
    l.page = s.messageWindow.page;
    for (int i = 0; i < kTalkWindowCount; ++i) {
        const SavedTalkWindow& t = s.talkWindows[size_t(i)];
        TalkWindow& w = g_TalkWindows[i];
        CopyText(w.text, t.text);
        w.shown = t.shown;
        w.open = t.open;
        w.x = t.x;
        w.y = t.y;
        w.w = t.w;
        w.h = t.h;
    }
}

// The field file filled the tables as it does on entering the field; what scripts changed
// since is put back over it.
void ApplyWorldTables(const GameSnapshot& s) {
    for (int i = 0; i < kTextureSlotCount; ++i) {
        const std::string& name = s.textureSlots[size_t(i)].bytes;
        if (name == TextureSlotName(g_TextureSlots[i])) continue;
        if (name.empty()) {
            EmptyTextureSlot(g_TextureSlots[i]);
        } else {
            LoadTextureSlot(g_TextureSlots[i], name.c_str());
        }
    }
    for (int i = 0; i < kFieldMeshCount; ++i) {
        const SavedMesh& m = s.fieldMeshes[size_t(i)];
        if (!m.present) {
            g_FieldMeshes[i].reset();
            continue;
        }
        if (!g_FieldMeshes[i]) g_FieldMeshes[i] = std::make_unique<XMeshHolder>();
        XMeshHolder& h = *g_FieldMeshes[i];
        if (h.name == m.name.bytes && h.directory == m.directory.bytes) continue;
        if (m.name.bytes.empty()) {
            h.release();
        } else {
            h.load(m.name.bytes.c_str(), m.directory.bytes.c_str());
        }
    }
    for (int i = 0; i < kFieldLightCount; ++i) {
        const SavedLight& l = s.fieldLights[size_t(i)];
        if (!l.present) {
            DeleteFieldLight(i);
            continue;
        }
        g_FieldLights[i] = std::make_unique<Light>(MakeLight(l));
    }
    for (int i = 0; i < kFieldObjectCount; ++i) {
        const SavedFieldObject& o = s.fieldObjects[size_t(i)];
        FieldObject& f = g_FieldObjects[i];
        f.kind = o.kind;
        f.mesh = o.mesh >= 0 ? g_FieldMeshes[o.mesh].get() : nullptr;
        f.colour = o.colour;
        f.position = Vec(o.position);
        f.rotation = Vec(o.rotation);
        f.scale = Vec(o.scale);
    }
    for (int i = 0; i < kBillboardCount; ++i) {
        const SavedBillboard& b = s.billboards[size_t(i)];
        Billboard& d = g_Billboards[i];
        d.image = b.image >= 0 ? &g_TextureSlots[b.image] : nullptr;
        d.position = Vec(b.position);
        d.widthScale = b.widthScale;
        d.heightScale = b.heightScale;
        d.red = b.red;
        d.green = b.green;
        d.blue = b.blue;
        d.alpha = b.alpha;
        d.depthFunc = b.depthFunc;
        d.heightFactor = b.heightFactor;
    }
    for (int i = 0; i < kSeSlotCount; ++i) {
        const std::string& name = s.soundEffects[size_t(i)].bytes;
        if (name.empty()) {
            ReleaseSoundEffect(i);
        } else {
            LoadSoundEffect(i, name);
        }
    }
}

// The model as the file gives it, with only the motions the character still had, posed where
// it stood in its motion.
void ApplyModel(Character& c, const SavedCharacter& s) {
    RZ_Model& m = c.model;
    for (uint32_t a = 0; a < kRzMaxAnimations; ++a) {
        bool kept = false;
        for (uint32_t k : s.animations) kept |= k == a;
        if (m.HasAnimation(a) && !kept) m.DeleteAnimation(a);
    }
    m.SetCurrentAnimation(s.currentAnimation);
    m.ResetAnimation();
    if (m.HasAnimation(s.currentAnimation)) {
        RZ_Animation& anim = *m.animations[s.currentAnimation];
        for (const SavedTrack& t : s.tracks) {
            RZ_KeyTrack* track = anim.tracks[t.bone].get();
            if (!track) continue;
            // A model file that changed since may have fewer keys; the track then stays on
            // its last one.
            const size_t last = track->keys.empty() ? 0 : track->keys.size() - 1;
            track->current = t.current < last ? size_t(t.current) : last;
            track->time = t.time;
            track->segment = t.segment;
        }
    }
    for (const SavedBone& b : s.bones) {
        RZ_Bone* bone = m.GetBone(uint32_t(b.bone));
        if (!bone) continue;
        bone->offset = Vec(b.offset);
        bone->worldPosition = Vec(b.worldPosition);
        bone->scale = Vec(b.scale);
        bone->worldScale = Vec(b.worldScale);
        bone->rotation = Quat(b.rotation);
        bone->worldRotation = Quat(b.worldRotation);
    }
}

void ApplyCharacter(const SavedCharacter& s) {
    Character& c = g_Characters[s.slot];
    if (s.hasModel && !s.fileName.bytes.empty()) {
        c.LoadCharacter(s.fileName.bytes.c_str());
        ApplyModel(c, s);
    }
    CopyText(c.fileName, s.fileName);
    c.active = s.active;
    c.queuedMotion = s.queuedMotion;
    c.queuedLoop = s.queuedLoop;
    c.motionFlags = s.motionFlags;
    c.motionDirection = s.motionDirection;
    c.motionClock = s.motionClock;
    c.collisionSize = s.collisionSize;
    c.fileValue = s.fileValue;
    c.bladeLength = s.bladeLength;
    c.position = Vec(s.position);
    c.rotation = Vec(s.rotation);
    c.scale = Vec(s.scale);
    if (s.hasWeapon) c.LoadEquipment(kWeaponSlot, s.weaponMesh.bytes.c_str());
    if (s.hasGuard) c.LoadEquipment(kGuardSlot, s.guardMesh.bytes.c_str());
}

void ApplyParty(const GameSnapshot& s) {
    for (int i = 0; i < kPartyMemberCount; ++i) {
        const SavedFighter& f = s.party[size_t(i)];
        FighterRecord& r = g_PartyMembers[i];
        CopyText(r.name, f.name);
        r.hp = f.hp;
        r.maxHp = f.maxHp;
        r.mp = f.mp;
        r.maxMp = f.maxMp;
        std::copy(f.stats.begin(), f.stats.end(), r.stats);
        r.statusByte = f.statusByte;
        std::copy(f.commands.begin(), f.commands.end(), r.commands);
        for (int c = 0; c < kTechniqueCategoryCount; ++c)
            std::copy(f.techniques[size_t(c)].begin(), f.techniques[size_t(c)].end(),
                      r.techniques[c]);
        r.defaultAction = f.defaultAction;
        r.weapon = f.weapon;
        r.guard = f.guard;
        CopyText(g_FaceNames[i], s.faceNames[size_t(i)]);
    }
    std::copy(s.partyOrder.begin(), s.partyOrder.end(), g_PartyOrder);
    BindPartyFighters();
    ResetInventory();
    for (const SavedStock& g : s.goods) g_GoodsStock.Add(g.number, g.count);
    for (const SavedStock& w : s.weapons) g_WeaponStock.Add(w.number, w.count);
}

void ApplyCamera(const SavedCamera& s) {
    Camera& c = g_Camera;
    c.eye = Vec(s.eye);
    c.target = Vec(s.target);
    c.angle = s.angle;
    c.distance = s.distance;
    c.keyIndex = s.keyIndex;
    c.framesLeft = s.framesLeft;
    c.stepDistance = s.stepDistance;
    c.stepAngle = s.stepAngle;
    c.stepEyeY = s.stepEyeY;
    c.stepTarget = Vec(s.stepTarget);
    c.handler = HandlerByName(s.handler);
    for (int k = 0; k < kCameraKeyCount; ++k) {
        const SavedCameraKey& key = s.keys[size_t(k)];
        c.keySet[k] = s.keySet[size_t(k)];
        c.keys[k] = {key.frames, key.distance,    key.angle,
                     key.eyeY,   Vec(key.target), HandlerByName(key.mode)};
    }
    std::memcpy(g_ViewMatrix.m, s.viewMatrix.data(), sizeof g_ViewMatrix.m);
    if (g_pd3dDevice) g_pd3dDevice->SetTransform(TransformType::View, g_ViewMatrix);
}

void ApplyWords(const GameSnapshot& s) {
    g_ModeNow = s.modeNow;
    g_ModeNext = s.modeNext;
    g_ModeChangeRequest = s.modeChangeRequest;
    g_EncounterPending = s.encounterPending;
    g_TransitionCounter = s.transitionCounter;
    g_ResumeScriptAfterFade = uint8_t(s.resumeScriptAfterFade);
    g_ActionTimer = s.actionTimer;
    g_FieldInputEnabled = s.fieldInputEnabled;
    g_EncounterRate = s.encounterRate;
    std::copy(s.enemySet.begin(), s.enemySet.end(), g_EnemySet);
    g_FadeR = s.fade[0];
    g_FadeG = s.fade[1];
    g_FadeB = s.fade[2];
    g_FadeAlpha = s.fade[3];
    g_TextRect = {s.textRect[0], s.textRect[1], s.textRect[2], s.textRect[3]};
    g_ScriptResumePos = s.scriptResumePos;
    CopyText(g_BattleMusicName, s.battleMusicName);
    CopyText(g_FieldMusicName, s.fieldMusicName);
}

}  // namespace

void ApplySnapshot(const GameSnapshot& s) {
    g_FrameProc = HandlerByName(s.frameProc);
    SetUpFirstFrame();
    // What every game loads at its start.
    LoadDataTables();
    SetFieldProjection();
    StartFieldTables();
    LoadTextureSlot(g_UiTextures[0], "tex\\cur.dds");
    LoadTextureSlot(g_UiTextures[1], "tex\\use0.dds");

    // The field and its script, by name.
    g_pGameState = new GameState();
    CopyText(g_FieldName, s.fieldName);
    CopyText(g_FieldScriptName, s.fieldScriptName);
    g_pGameState->fieldInfo->load(g_FieldName, &g_pGameState->groundLighting);
    LoadFieldScript(g_FieldScriptName);
    ApplyGameState(s);
    ApplyWorldTables(s);

    for (const SavedCharacter& c : s.characters) ApplyCharacter(c);
    ApplyParty(s);
    // A game saved on the menu screen shows the members' faces again.
    if (g_FrameProc == MenuScreenFrame) LoadMenuFaces();
    ApplyCamera(s.camera);
    ApplyWords(s);

    PlayBgm(s.music);
    ChangeBgmBuffer(0, '=', s.musicVolume);
    g_PlayTimeMs = s.playTimeMs;
    CrtSrand(s.randState);
    ApplyDevice(s.device);
}
