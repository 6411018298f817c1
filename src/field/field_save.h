#pragma once
#include <memory>

#include "math/vector3.h"
#include "world/character.h"
#include "world/mode_words.h"

// What the field keeps across a battle: the placements and files of the characters, the camera
// and the field's music. The field itself is loaded again by name.
struct FieldSave {
    Vector3 position[kCharacterCount];
    Vector3 rotation[kCharacterCount];
    Vector3 scale[kCharacterCount];
    int32_t active[kCharacterCount] = {};
    char fileName[kCharacterCount][kCharacterFileNameSize] = {};
    Vector3 eye, target;
    float angle = 0.0f, distance = 0.0f;
    char musicName[kMusicNameSize] = {};
};

// Exists only while a battle runs: the mode change creates it before SaveFieldState and deletes
// it after RestoreFieldState.
extern std::unique_ptr<FieldSave> g_FieldSave;

// The field's current music, kept by the script command that plays it; a battle plays its own
// and the field's comes back afterwards.
extern char g_FieldMusicName[kMusicNameSize];

// Into g_FieldSave (nothing without one).
void SaveFieldState();
// From g_FieldSave (nothing without one): every saved active character loaded again from its
// file with only its field motions, standing, without equipment, at its saved placement; the
// others emptied; the camera and the field's music back.
void RestoreFieldState();
