// Taking a snapshot: the game's globals read into plain values.
#include <cstring>

#include "app/frame_handlers.h"
#include "app/game_snapshot.h"
#include "base/crt_rand.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_runtime.h"
#include "field/field_save.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "field/menu_screen.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh_holder.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/inventory.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/play_time.h"

namespace {

template <size_t N>
SavedBytes Text(const char (&field)[N]) {
    return {std::string(field, strnlen(field, N))};
}

SavedVector Vec(const Vector3& v) {
    return {v.x, v.y, v.z};
}

std::array<float, 4> Quat(const Quaternion& q) {
    return {q.x, q.y, q.z, q.w};
}

std::array<float, 4> Colour(const ColorValue& c) {
    return {c.r, c.g, c.b, c.a};
}

SavedCharacter TakeCharacter(int32_t slot, const Character& c) {
    SavedCharacter s;
    s.slot = slot;
    s.active = c.active;
    s.fileName = Text(c.fileName);
    const RZ_Model& m = c.model;
    s.hasModel = !m.vertices.empty() || m.BoneCount() > 1;
    for (uint32_t a = 0; a < kRzMaxAnimations; ++a)
        if (m.HasAnimation(a)) s.animations.push_back(a);
    s.currentAnimation = m.GetCurrentAnimation();
    if (m.HasAnimation(s.currentAnimation)) {
        const RZ_Animation& anim = *m.animations[s.currentAnimation];
        for (int32_t b = 0; b < kRzMaxBones; ++b)
            if (const RZ_KeyTrack* t = anim.tracks[b].get())
                s.tracks.push_back({b, uint64_t(t->current), t->time, t->segment});
    }
    for (int32_t b = 0; b < kRzMaxBones; ++b) {
        const RZ_Bone* bone = m.GetBone(uint32_t(b));
        if (!bone) continue;
        s.bones.push_back({b, Vec(bone->offset), Vec(bone->worldPosition), Vec(bone->scale),
                           Vec(bone->worldScale), Quat(bone->rotation), Quat(bone->worldRotation)});
    }
    s.queuedMotion = c.queuedMotion;
    s.queuedLoop = c.queuedLoop;
    s.motionFlags = c.motionFlags;
    s.motionDirection = c.motionDirection;
    s.motionClock = c.motionClock;
    s.collisionSize = c.collisionSize;
    s.fileValue = c.fileValue;
    s.bladeLength = c.bladeLength;
    s.position = Vec(c.position);
    s.rotation = Vec(c.rotation);
    s.scale = Vec(c.scale);
    s.hasWeapon = c.weaponMesh != nullptr;
    s.hasGuard = c.guardMesh != nullptr;
    if (c.weaponMesh) s.weaponMesh.bytes = c.weaponMesh->name;
    if (c.guardMesh) s.guardMesh.bytes = c.guardMesh->name;
    return s;
}

SavedFighter TakeFighter(const FighterRecord& f) {
    SavedFighter s;
    s.name = Text(f.name);
    s.hp = f.hp;
    s.maxHp = f.maxHp;
    s.mp = f.mp;
    s.maxMp = f.maxMp;
    std::copy(std::begin(f.stats), std::end(f.stats), s.stats.begin());
    s.statusByte = f.statusByte;
    std::copy(std::begin(f.commands), std::end(f.commands), s.commands.begin());
    for (int c = 0; c < kTechniqueCategoryCount; ++c)
        std::copy(std::begin(f.techniques[c]), std::end(f.techniques[c]),
                  s.techniques[size_t(c)].begin());
    s.defaultAction = f.defaultAction;
    s.weapon = f.weapon;
    s.guard = f.guard;
    return s;
}

SavedCamera TakeCamera() {
    const Camera& c = g_Camera;
    SavedCamera s;
    s.eye = Vec(c.eye);
    s.target = Vec(c.target);
    s.angle = c.angle;
    s.distance = c.distance;
    s.keyIndex = c.keyIndex;
    s.framesLeft = c.framesLeft;
    s.stepDistance = c.stepDistance;
    s.stepAngle = c.stepAngle;
    s.stepEyeY = c.stepEyeY;
    s.stepTarget = Vec(c.stepTarget);
    s.handler = HandlerName(c.handler);
    for (int k = 0; k < kCameraKeyCount; ++k) {
        const CameraKey& key = c.keys[k];
        s.keySet[size_t(k)] = c.keySet[k];
        s.keys[size_t(k)] = {key.frames, key.distance,    key.angle,
                             key.eyeY,   Vec(key.target), HandlerName(key.mode)};
    }
    std::memcpy(s.viewMatrix.data(), g_ViewMatrix.m, sizeof g_ViewMatrix.m);
    return s;
}

// Index of a pointer into a table, -1 for null or a pointer elsewhere.
template <typename T, size_t N>
int32_t IndexIn(const T* p, const T (&table)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (p == &table[i]) return int32_t(i);
    return -1;
}

SavedLight TakeLight(const Light& light, bool on) {
    SavedLight l;
    l.present = on;
    l.type = uint32_t(light.type);
    l.diffuse = Colour(light.diffuse);
    l.specular = Colour(light.specular);
    l.ambient = Colour(light.ambient);
    l.position = {light.position.x, light.position.y, light.position.z};
    l.direction = {light.direction.x, light.direction.y, light.direction.z};
    l.range = light.range;
    l.falloff = light.falloff;
    l.attenuation0 = light.attenuation0;
    l.attenuation1 = light.attenuation1;
    l.attenuation2 = light.attenuation2;
    l.theta = light.theta;
    l.phi = light.phi;
    return l;
}

std::array<float, 16> Matrix(const Matrix44& m) {
    std::array<float, 16> out{};
    std::memcpy(out.data(), m.m, sizeof m.m);
    return out;
}

SavedDevice TakeDevice() {
    SavedDevice d;
    if (!g_pd3dDevice) return d;
    const DeviceState& state = g_pd3dDevice->State();
    d.renderStates.assign(std::begin(state.renderStates), std::end(state.renderStates));
    d.stageStates.assign(std::begin(state.stageStates), std::end(state.stageStates));
    d.world = Matrix(state.world);
    d.view = Matrix(state.view);
    d.projection = Matrix(state.projection);
    for (int i = 0; i < kMaxLights; ++i)
        d.lights.push_back(TakeLight(state.lights[i], state.lightEnabled[i]));
    d.diffuse = Colour(state.material.diffuse);
    d.ambient = Colour(state.material.ambient);
    d.specular = Colour(state.material.specular);
    d.emissive = Colour(state.material.emissive);
    d.power = state.material.power;
    return d;
}

void TakeWorldTables(GameSnapshot& s) {
    for (int i = 0; i < kBillboardCount; ++i) {
        const Billboard& b = g_Billboards[i];
        s.billboards[size_t(i)] = {IndexIn(b.image, g_TextureSlots),
                                   Vec(b.position),
                                   b.widthScale,
                                   b.heightScale,
                                   b.red,
                                   b.green,
                                   b.blue,
                                   b.alpha,
                                   b.depthFunc,
                                   b.heightFactor};
    }
    for (int i = 0; i < kFieldObjectCount; ++i) {
        const FieldObject& o = g_FieldObjects[i];
        int32_t mesh = -1;
        for (int k = 0; k < kFieldMeshCount; ++k)
            if (o.mesh && o.mesh == g_FieldMeshes[k].get()) mesh = k;
        s.fieldObjects[size_t(i)] = {o.kind,          mesh,        o.colour, Vec(o.position),
                                     Vec(o.rotation), Vec(o.scale)};
    }
    for (int i = 0; i < kFieldMeshCount; ++i) {
        SavedMesh& m = s.fieldMeshes[size_t(i)];
        m.present = g_FieldMeshes[i] != nullptr;
        if (m.present) m = {true, {g_FieldMeshes[i]->name}, {g_FieldMeshes[i]->directory}};
    }
    for (int i = 0; i < kFieldLightCount; ++i) {
        if (const Light* light = g_FieldLights[i].get())
            s.fieldLights[size_t(i)] = TakeLight(*light, true);
    }
    for (int i = 0; i < kTextureSlotCount; ++i)
        s.textureSlots[size_t(i)].bytes = TextureSlotName(g_TextureSlots[i]);
    for (int i = 0; i < kSeSlotCount; ++i) s.soundEffects[size_t(i)].bytes = SoundEffectName(i);
}

void TakeGameState(GameSnapshot& s) {
    const GameState& gs = *g_pGameState;
    const QScrOrg& q = gs.fieldScript;
    SavedScript& f = s.fieldScript;
    f.pc = q.pc;
    f.running = q.running;
    f.stepping = q.stepping;
    std::copy(std::begin(q.iv), std::end(q.iv), f.iv.begin());
    std::copy(std::begin(q.fv), std::end(q.fv), f.fv.begin());
    f.str = Text(q.str);
    f.aux = q.aux;
    f.actor = q.actor;
    f.speed = q.speed;
    s.walkAnimating = gs.walkAnimating;
    s.groundLighting = gs.groundLighting;
    s.lastCellX = gs.lastCellX;
    s.lastCellRow = gs.lastCellRow;
    s.fieldHandler = HandlerName(gs.fieldHandler);
    const MenuList& l = gs.messageWindow;
    for (int i = 0; i < kListEntryCount; ++i)
        s.messageWindow.entries[size_t(i)] = {Text(l.entries[i].text), l.entries[i].value};
    s.messageWindow.x = l.x;
    s.messageWindow.y = l.y;
    s.messageWindow.w = l.w;
    s.messageWindow.h = l.h;
    s.messageWindow.open = l.open;
    s.messageWindow.first = l.first;
    s.messageWindow.cursor = l.cursor;
    s.messageWindow.page = l.page;
    for (int i = 0; i < kTalkWindowCount; ++i) {
        const TalkWindow& t = g_TalkWindows[i];
        s.talkWindows[size_t(i)] = {Text(t.text), t.shown, t.open, t.x, t.y, t.w, t.h};
    }
}

}  // namespace

std::string WhyNoSnapshot() {
    if (g_pBattle) return "a battle is being fought";
    if (!g_pGameState) return "there is no field";
    if (g_FrameProc != FieldFrame && g_FrameProc != MenuScreenFrame) return "no field is shown";
    if (g_ModeChangeRequest || g_EncounterPending) return "the mode is changing";
    if (g_FadeAlpha != 0 || g_pGameState->fieldHandler != NullFrameHook ||
        g_pGameState->fieldScript.aux != 0)
        return "the screen is fading";
    return "";
}

GameSnapshot TakeSnapshot() {
    GameSnapshot s;
    s.frameProc = HandlerName(g_FrameProc);
    s.playTimeMs = g_PlayTimeMs;
    s.randState = CrtRandState();
    s.fieldName = Text(g_FieldName);
    s.fieldScriptName = Text(g_FieldScriptName);
    s.fieldMusicName = Text(g_FieldMusicName);
    s.battleMusicName = Text(g_BattleMusicName);
    s.music = CurrentBgmName();
    s.musicVolume = GetBgmVolume();
    s.scriptResumePos = g_ScriptResumePos;
    if (g_pGameState) TakeGameState(s);
    s.modeNow = g_ModeNow;
    s.modeNext = g_ModeNext;
    s.modeChangeRequest = g_ModeChangeRequest;
    s.encounterPending = g_EncounterPending;
    s.transitionCounter = g_TransitionCounter;
    s.resumeScriptAfterFade = g_ResumeScriptAfterFade;
    s.actionTimer = g_ActionTimer;
    s.fieldInputEnabled = g_FieldInputEnabled;
    s.encounterRate = g_EncounterRate;
    std::copy(std::begin(g_EnemySet), std::end(g_EnemySet), s.enemySet.begin());
    s.fade = {g_FadeR, g_FadeG, g_FadeB, g_FadeAlpha};
    s.textRect = {g_TextRect.left, g_TextRect.top, g_TextRect.right, g_TextRect.bottom};
    s.camera = TakeCamera();
    for (int i = 0; i < kCharacterCount; ++i) {
        const Character& c = g_Characters[i];
        if (c.active || c.fileName[0] || !c.model.vertices.empty())
            s.characters.push_back(TakeCharacter(i, c));
    }
    for (int i = 0; i < kPartyMemberCount; ++i) {
        s.party[size_t(i)] = TakeFighter(g_PartyMembers[i]);
        s.faceNames[size_t(i)] = Text(g_FaceNames[i]);
    }
    std::copy(std::begin(g_PartyOrder), std::end(g_PartyOrder), s.partyOrder.begin());
    for (const auto& [number, count] : g_GoodsStock.Held()) s.goods.push_back({number, count});
    for (const auto& [number, count] : g_WeaponStock.Held()) s.weapons.push_back({number, count});
    TakeWorldTables(s);
    s.device = TakeDevice();
    return s;
}
