#include "field/field_save.h"

#include <cstring>

#include "sound/bgm.h"
#include "world/field_camera.h"

std::unique_ptr<FieldSave> g_FieldSave;
char g_FieldMusicName[kMusicNameSize] = {};

void SaveFieldState() {
    if (!g_FieldSave) return;
    FieldSave& s = *g_FieldSave;
    for (int i = 0; i < kCharacterCount; ++i) {
        const Character& c = g_Characters[i];
        s.position[i] = c.position;
        s.rotation[i] = c.rotation;
        s.scale[i] = c.scale;
        s.active[i] = c.active;
        std::memcpy(s.fileName[i], c.fileName, sizeof s.fileName[i]);
    }
    s.eye = g_Camera.eye;
    s.target = g_Camera.target;
    s.angle = g_Camera.angle;
    s.distance = g_Camera.distance;
    std::memcpy(s.musicName, g_FieldMusicName, sizeof s.musicName);
}

void RestoreFieldState() {
    if (!g_FieldSave) return;
    const FieldSave& s = *g_FieldSave;
    for (int i = 0; i < kCharacterCount; ++i) {
        Character& c = g_Characters[i];
        if (s.active[i]) {
            char name[kCharacterFileNameSize];
            std::memcpy(name, s.fileName[i], sizeof name);
            name[sizeof name - 1] = '\0';
            c.LoadCharacter(name);
            c.KeepMotionsWithPrefix("fld_");
            c.SetMotion(kMotionStand, 1);
            c.ReleaseEquipment(kWeaponSlot);
            c.ReleaseEquipment(kGuardSlot);
        } else {
            // Empties whatever the battle left in the slot before the slot goes free.
            c.Release();
        }
        c.active = s.active[i];
        // Placed after loading, which would otherwise put the file's scale back.
        c.position = s.position[i];
        c.rotation = s.rotation[i];
        c.scale = s.scale[i];
        std::memcpy(c.fileName, s.fileName[i], sizeof c.fileName);
    }
    g_Camera.eye = s.eye;
    g_Camera.target = s.target;
    g_Camera.angle = s.angle;
    g_Camera.distance = s.distance;
    UpdateCameraEye();
    std::memcpy(g_FieldMusicName, s.musicName, sizeof g_FieldMusicName);
    g_FieldMusicName[kMusicNameSize - 1] = '\0';
    PlayBgm(g_FieldMusicName);
}
