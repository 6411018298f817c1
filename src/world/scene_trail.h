#pragma once
#include <cstdint>

#include "math/quaternion.h"
#include "math/vector3.h"

struct Character;

// The streak a swung weapon leaves: pairs of blade base (even index) and tip (odd index) in
// world space, sampled ten times between two frames, fading while it is drawn.
constexpr int kTrailPointCount = 1024;
constexpr int kTrailStartCopies = 256;
constexpr int kTrailStepsPerSample = 10;
constexpr float kTrailBladeBase = 180.0f;

struct WeaponTrail {
    Character* owner = nullptr;
    Vector3 points[kTrailPointCount];
    int32_t count = 0;    // points in use
    uint32_t colour = 0;  // RGB in the low 24 bits
    Quaternion lastRotation{0.0f, 0.0f, 0.0f, 1.0f};
    Vector3 lastPosition;
    float intensity = 0.0f;  // 1 when started, fading with every draw
};

extern WeaponTrail g_WeaponTrail;
// While not 0 the battle samples the trail every frame.
extern int32_t g_TrailSampling;

// Empties the trail for a new swing by character n (0-19) in that colour; the current tip is
// copied into the first points. A character outside the table leaves the trail without owner.
void StartWeaponTrail(uint32_t colour, int character);
// Appends ten base/tip pairs between the weapon's last and current pose, while sampling is on
// and the owner exists. Pairs that no longer fit are dropped.
void SampleWeaponTrail();
// Draws the trail newest pair first, more transparent toward the old end, then fades it; it
// empties when the fade falls below 0.05.
void DrawWeaponTrail();
// Owner, points and sampling back to their first values (battle start, the world reset, tests).
void ResetWeaponTrail();
