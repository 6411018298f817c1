// Common commands on characters, the camera, sound, music and textures.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/texture_slots.h"
#include "math/math_scalar.h"
#include "script/camera_motion.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/input_gate.h"
#include "world/mode_words.h"

Character* CharacterAt(const QScrOrg& s, int32_t who) {
    return CheckIndex(s, who, kCharacterCount, "character") ? &g_Characters[who] : nullptr;
}

namespace common_commands {

void Transform(QScrOrg& s) {
    int32_t who = s.gInt();
    const int32_t field = s.gInt();
    float value = float(s.gFloat());
    const char op = ReadOp(s);
    if (who == -1) who = s.iv[0];
    Character* c = CharacterAt(s, who);
    if (!c) return;
    if (field >= 3 && field <= 5) value *= kDegToRad;
    switch (field) {
        case 0:
            ChangeFloat(c->position.x, op, value);
            break;
        case 1:
            ChangeFloat(c->position.y, op, value);
            break;
        case 2:
            ChangeFloat(c->position.z, op, value);
            break;
        case 3:
            ChangeFloat(c->rotation.x, op, value);
            break;
        case 4:
            ChangeFloat(c->rotation.y, op, value);
            break;
        case 5:
            ChangeFloat(c->rotation.z, op, value);
            break;
        case 6:
            ChangeFloat(c->scale.x, op, value);
            break;
        case 7:
            ChangeFloat(c->scale.y, op, value);
            break;
        case 8:
            ChangeFloat(c->scale.z, op, value);
            break;
        case 9:
            ChangeInt(c->active, op, value);
            break;
        case 10: {
            int32_t flags = int32_t(c->motionFlags);
            ChangeInt(flags, op, value);
            c->motionFlags = uint32_t(flags);
            break;
        }
        case 11:
            c->position = Vector3{0.0f, 0.0f, 0.0f};
            c->rotation = Vector3{0.0f, 0.0f, 0.0f};
            c->scale = Vector3{1.0f, 1.0f, 1.0f};
            break;
        default:
            break;
    }
}

void CameraMember(QScrOrg& s) {
    const int32_t field = s.gInt();
    const float value = float(s.gFloat());
    const char op = ReadOp(s);
    const char upd = ReadOp(s);
    Camera& cam = g_Camera;
    float* members[] = {&cam.eye.x,    &cam.eye.y,    &cam.eye.z, &cam.target.x,
                        &cam.target.y, &cam.target.z, &cam.angle, &cam.distance};
    if (field >= 0 && field < 8) {
        if (op == 'a') *members[field] += value;
        if (op == 's') *members[field] = value;
    }
    if (upd == '0') {
        UpdateView();
    } else {
        UpdateCameraEye();
    }
}

void SoundEffect(QScrOrg& s) {
    LoadSoundEffectSlot(s, 0);
}

void LoadTextures(QScrOrg& s) {
    const int32_t slot = s.gInt();
    s.gStr(s.str);
    const int32_t base = slot >= 0 ? slot + kBillboardFirstSlot : s.IntRef(slot);
    const size_t length = strnlen(s.str, sizeof s.str);
    char file[QScrOrg::kStrSize + 32];
    if (length > 0 && s.str[length - 1] == '_') {
        for (int32_t i = 0; i < s.iv[0]; ++i) {
            if (!CheckIndex(s, base + i, kTextureSlotCount, "texture slot")) break;
            std::snprintf(file, sizeof file, "tex\\%s%d.dds", s.str, int(i));
            LoadTextureSlot(g_TextureSlots[base + i], file);
        }
        return;
    }
    if (!CheckIndex(s, base, kTextureSlotCount, "texture slot")) return;
    std::snprintf(file, sizeof file, "tex\\%s.dds", s.str);
    LoadTextureSlot(g_TextureSlots[base], file);
}

void CopyTransform(QScrOrg& s) {
    int32_t dst = s.gInt();
    int32_t src = s.gInt();
    const int32_t what = s.gInt();
    if (dst < 0) dst = s.IntRef(dst);
    if (src < 0) src = s.IntRef(src);
    Character* d = CharacterAt(s, dst);
    Character* from = CharacterAt(s, src);
    if (!d || !from) return;
    if (what == 0) d->position = from->position;
    if (what == 1) d->rotation = from->rotation;
    if (what == 2) d->scale = from->scale;
}

void ReadCharacterValue(QScrOrg& s) {
    const int32_t j = s.gInt();
    const int32_t what = s.gInt();
    if (!CheckIndex(s, j, QScrOrg::kFloatVars, "float variable")) return;
    const Character* c = CharacterAt(s, s.iv[0]);
    if (!c) return;
    switch (what) {
        case 0:
            s.fv[j] = c->position.x;
            break;
        case 1:
            s.fv[j] = c->position.y + HeadHeight(*c);
            break;
        case 2:
            s.fv[j] = c->position.z;
            break;
        case 3:
            s.fv[j] = c->rotation.x;
            break;
        case 4:
            s.fv[j] = c->rotation.y;
            break;
        case 5:
            s.fv[j] = c->rotation.z;
            break;
        default:
            break;
    }
}

void CameraLookAt(QScrOrg& s) {
    Character* c = CharacterAt(s, s.gInt());
    if (!c) return;
    g_Camera.target = c->position;
    g_Camera.angle = 0.0f;
    g_Camera.distance = 2000.0f;
    g_Camera.eye.y = 3000.0f;
    UpdateCameraEye();
}

void SetFieldInput(QScrOrg& s) {
    g_FieldInputEnabled = s.gInt();
}

void CharacterMotion(QScrOrg& s) {
    int32_t who = s.gInt();
    const int32_t a = s.gInt();
    const int32_t b = s.gInt();
    if (who < 0) who = s.iv[0];
    if (Character* c = CharacterAt(s, who)) c->SetMotion(a, b);
}

void PlaySoundEffect(QScrOrg& s) {
    const int32_t slot = s.gInt();
    if (CheckIndex(s, slot, kSeSlotCount, "sound slot")) PlaySound(g_SeSlots[slot]);
}

void CameraMove(QScrOrg& s) {
    const int32_t type = s.gInt();
    const int32_t frames = s.gInt();
    float a = float(s.gFloat());
    const float b = float(s.gFloat());
    const float c = float(s.gFloat());
    if (type == 0 || type == 2) a *= kDegToRad;
    StartMove(type, frames, Vector3{a, b, c});
}

void CameraToCharacter(QScrOrg& s) {
    StartMove(4, s.gInt(), Vector3{float(s.iv[0]), 0.0f, 0.0f});
}

void CameraMode(QScrOrg& s) {
    SetMode(s.gInt());
}

void SetCameraKey(QScrOrg& s) {
    const int32_t key = s.gInt();
    const int32_t frames = s.gInt();
    const int32_t mode = s.gInt();
    SetKey(key, frames, Vector3{s.fv[0], s.fv[1], s.fv[2]}, Vector3{s.fv[3], s.fv[4], s.fv[5]},
           mode);
}

void CameraPath(QScrOrg& s) {
    const int32_t n = s.gInt();
    if (n == -1) ClearKeys();
    if (n == -2) NextKey();
    if (n >= 0) ResetCameraToHome();
}

void CameraKeyIndex(QScrOrg& s) {
    g_Camera.keyIndex = s.gInt();
}

void LoadCharacterModel(QScrOrg& s) {
    int32_t who = s.gInt();
    s.gStr(s.str);
    if (who < 0) who = s.IntRef(who);
    if (Character* c = CharacterAt(s, who)) c->LoadCharacter(s.str);
}

void PlayMusic(QScrOrg& s) {
    s.gStr(s.str);
    PlayBgm(s.str);
}

void KeepMotions(QScrOrg& s) {
    int32_t who = s.gInt();
    s.gStr(s.str);
    if (who < 0) who = s.IntRef(who);
    if (Character* c = CharacterAt(s, who)) {
        c->KeepMotionsWithPrefix(s.str);
        c->SetMotion(std::strcmp(s.str, "fld_") == 0 ? 0 : 3, 1);
    }
}

void BattleMusic(QScrOrg& s) {
    s.gStr(s.str);
    std::snprintf(g_BattleMusicName, sizeof g_BattleMusicName, "%s", std::string(s.str).c_str());
}

void MusicBuffer(QScrOrg& s) {
    const int32_t what = s.gInt();
    const char op = ReadOp(s);
    ChangeBgmBuffer(what, op, s.iv[0]);
}

void ResumeAfterFade(QScrOrg& s) {
    g_ResumeScriptAfterFade = s.gInt() != 0;
}

}  // namespace common_commands

void LoadSoundEffectSlot(QScrOrg& s, int32_t slotOffset) {
    const int64_t wide = int64_t(s.gInt()) + slotOffset;
    char name[QScrOrg::kStrSize];
    s.gStr(name);
    if (!CheckIndex(s, wide, kSeSlotCount, "sound slot")) return;
    const int32_t slot = int32_t(wide);
    if (name[0] == '\0') {
        ReleaseSoundEffect(slot);
        return;
    }
    const std::string path = std::string("SE\\") + name + ".wav";
    std::snprintf(s.str, sizeof s.str, "%s", path.c_str());
    LoadSoundEffect(slot, s.str);
}
