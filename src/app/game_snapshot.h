#pragma once
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "base/frame.h"

// Everything a game on the field is made of, as plain values: what a saved game holds. What can
// be rebuilt from the data files is kept by name (the field, the scripts, models, meshes,
// textures, sounds, music, the data tables) and loaded again; everything else is kept as it is.
// A snapshot is taken on the field (or its menu screen) while no battle runs.

// Game text and file names are Shift-JIS bytes; in the save file each byte is one character
// U+0000-U+00FF, so any bytes come back exactly.
struct SavedBytes {
    std::string bytes;
};

struct SavedVector {
    float x = 0, y = 0, z = 0;
};

struct SavedTrack {  // the play position of one bone's track in the current motion
    int32_t bone = 0;
    uint64_t current = 0;
    int32_t time = 0;
    int32_t segment = 1;
};

struct SavedBone {  // the pose of one bone as the last animation step and drawing left it
    int32_t bone = 0;
    SavedVector offset, worldPosition, scale, worldScale;
    std::array<float, 4> rotation{}, worldRotation{};
};

struct SavedCharacter {
    int32_t slot = 0;
    int32_t active = 0;
    SavedBytes fileName;
    bool hasModel = false;             // the model was loaded (and not emptied since)
    std::vector<uint32_t> animations;  // the motion slots the model still has
    uint32_t currentAnimation = 0;
    std::vector<SavedTrack> tracks;
    std::vector<SavedBone> bones;
    int32_t queuedMotion = 0, queuedLoop = 0;
    uint32_t motionFlags = 0;
    int32_t motionDirection = 1;
    uint32_t motionClock = 0;
    float collisionSize = 0, fileValue = 0, bladeLength = 0;
    SavedVector position, rotation, scale;
    SavedBytes weaponMesh, guardMesh;  // equipment meshes by name ("" none)
    bool hasWeapon = false, hasGuard = false;
};

struct SavedFighter {  // a party member's status record
    SavedBytes name;
    int32_t hp = 0, maxHp = 0, mp = 0, maxMp = 0;
    std::array<uint8_t, 11> stats{};
    uint8_t statusByte = 0;
    std::array<uint8_t, 5> commands{};
    std::array<std::array<int32_t, 8>, 6> techniques{};
    uint8_t defaultAction = 0;
    int32_t weapon = 0, guard = 0;
};

struct SavedStock {  // how many of a goods record or a weapon the party carries
    int32_t number = 0;
    int32_t count = 0;
};

struct SavedCameraKey {
    int32_t frames = 0;
    float distance = 0, angle = 0, eyeY = 0;
    SavedVector target;
    std::string mode;  // handler name
};

struct SavedCamera {
    SavedVector eye, target;
    float angle = 0, distance = 0;
    int32_t keyIndex = 0, framesLeft = 0;
    float stepDistance = 0, stepAngle = 0, stepEyeY = 0;
    SavedVector stepTarget;
    std::string handler;
    std::array<int32_t, 8> keySet{};
    std::array<SavedCameraKey, 8> keys{};
    std::array<float, 16> viewMatrix{};
};

struct SavedBillboard {
    int32_t image = -1;  // texture slot, -1 none
    SavedVector position;
    float widthScale = 0, heightScale = 0;
    int32_t red = 0, green = 0, blue = 0, alpha = 0, depthFunc = 0;
    float heightFactor = 0;
};

struct SavedFieldObject {
    int32_t kind = 0;
    int32_t mesh = -1;  // field mesh holder, -1 none
    uint32_t colour = 0;
    SavedVector position, rotation, scale;
};

struct SavedLight {
    bool present = false;
    uint32_t type = 1;
    std::array<float, 4> diffuse{}, specular{}, ambient{};
    SavedVector position, direction;
    float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0, phi = 0;
};

struct SavedMesh {  // a field mesh holder by what it loaded
    bool present = false;
    SavedBytes name, directory;
};

struct SavedListEntry {
    SavedBytes text;
    int32_t value = 0;
};

struct SavedList {
    std::array<SavedListEntry, 32> entries{};
    int32_t x = 0, y = 0, w = 0, h = 0, open = 0, first = 0, cursor = 0, page = 0;
};

struct SavedTalkWindow {
    SavedBytes text;
    int32_t shown = 0, open = 0, x = 0, y = 0, w = 0, h = 0;
};

struct SavedScript {
    int32_t pc = 0, running = 0, stepping = 0;
    std::array<int32_t, 4> iv{};
    std::array<float, 6> fv{};
    SavedBytes str;
    int32_t aux = 0, actor = 0;
    float speed = 0;
};

// The device's fixed-function state: render and stage states persist from frame to frame, so a
// loaded game draws its next frame with the states the saved one had.
struct SavedDevice {
    std::vector<uint32_t> renderStates;  // one per render state
    std::vector<uint32_t> stageStates;   // texture stage 0
    std::array<float, 16> world{}, view{}, projection{};
    std::vector<SavedLight> lights;  // one per device light; `present` says switched on
    std::array<float, 4> diffuse{}, ambient{}, specular{}, emissive{};
    float power = 0;
};

struct GameSnapshot {
    std::string frameProc;  // FieldFrame or MenuScreenFrame
    uint64_t playTimeMs = 0;
    uint32_t randState = 1;
    // Names.
    SavedBytes fieldName, fieldScriptName, fieldMusicName, battleMusicName;
    std::string music;  // what plays now
    int32_t musicVolume = 0;
    int32_t scriptResumePos = 0;
    // The game state.
    SavedScript fieldScript;
    int32_t walkAnimating = 0, groundLighting = 0, lastCellX = 0, lastCellRow = 0;
    std::string fieldHandler;
    SavedList messageWindow;
    std::array<SavedTalkWindow, 3> talkWindows{};
    // Mode words and the field's globals.
    int32_t modeNow = 0, modeNext = 0, modeChangeRequest = 0, encounterPending = 0;
    int32_t transitionCounter = 0, resumeScriptAfterFade = 0;
    int32_t actionTimer = 0, fieldInputEnabled = 0, encounterRate = 0;
    std::array<int32_t, 5> enemySet{};
    std::array<int32_t, 4> fade{};
    std::array<int32_t, 4> textRect{};
    // The world.
    SavedCamera camera;
    std::vector<SavedCharacter> characters;  // the slots in use
    std::array<SavedFighter, 4> party{};
    std::array<int32_t, 3> partyOrder{};
    // What the party carries; a save written before the party carried anything has neither.
    std::vector<SavedStock> goods, weapons;
    std::array<SavedBytes, 4> faceNames{};
    std::array<SavedBillboard, 24> billboards{};
    std::array<SavedFieldObject, 10> fieldObjects{};
    std::array<SavedMesh, 10> fieldMeshes{};
    std::array<SavedLight, 20> fieldLights{};
    std::array<SavedBytes, 64> textureSlots{};
    std::array<SavedBytes, 10> soundEffects{};
    SavedDevice device;
};

// The game as it is now. Only meaningful on the field or its menu screen, outside battles.
GameSnapshot TakeSnapshot();
// Why the game cannot be saved now (a battle, a fade, a conversation or a list waiting); empty
// when it can.
std::string WhyNoSnapshot();

nlohmann::json SnapshotToJson(const GameSnapshot& s);
// Reads and checks a snapshot without touching the game: false with the reason when anything in
// it is missing, of the wrong kind or out of its range.
bool SnapshotFromJson(const nlohmann::json& j, GameSnapshot& out, std::string& reason);

// Puts the game into the snapshot's state. Call it on a world just reset (ResetGameWorld): it
// prepares the device as the game's first frame does, loads what the snapshot names and sets
// everything else; the next frame goes on from there.
void ApplySnapshot(const GameSnapshot& s);
