#include "humanoid.h"

#include <cmath>
#include <vector>

#include "base/sjis.h"
#include "model/rz_model.h"
#include "rig_builder.h"

namespace {

enum Bone {
    kRoot,
    kHip,
    kChest,
    kHead,
    kArmL,
    kElbowL,
    kGuard,
    kArmR,
    kElbowR,
    kWeapon,
    kLegL,
    kKneeL,
    kLegR,
    kKneeR,
    kBoneCount
};

const RigBone kBones[kBoneCount] = {
    {nullptr, 0, 0, 0, 0},
    {"hip", 0, 0, 0.50f, 0},
    {"chest", kHip, 0, 0.62f, 0},
    {"head_b", kChest, 0, 0.80f, 0},
    {"arm_l", kChest, -0.18f, 0.78f, 0},
    {"elbow_l", kArmL, -0.18f, 0.60f, 0},
    {"gua_b", kElbowL, -0.18f, 0.42f, 0.02f},
    {"arm_r", kChest, 0.18f, 0.78f, 0},
    {"elbow_r", kArmR, 0.18f, 0.60f, 0},
    {"wea_b", kElbowR, 0.18f, 0.42f, 0},
    {"leg_l", kHip, -0.07f, 0.50f, 0},
    {"knee_l", kLegL, -0.07f, 0.27f, 0},
    {"leg_r", kHip, 0.07f, 0.50f, 0},
    {"knee_r", kLegR, 0.07f, 0.27f, 0},
};

// Swatches of the 64 x 64 texture: a 4 x 4 grid of 16-pixel squares.
enum Swatch { kSkin, kHair, kShirt, kTrousers, kBoots, kFace, kAccent, kSwatchCount };

Pose Rest() {
    return Pose(kBoneCount);
}

// Battle-ready crouch: knees bent, arms forward, the weapon hand raised.
Pose Stance(float h, float dip) {
    Pose p = Rest();
    p[kHip].offset = V3{0, -0.03f * h - dip, 0};
    p[kChest].rx = 10;
    p[kLegL].rx = 18, p[kKneeL].rx = -28;
    p[kLegR].rx = -8, p[kKneeR].rx = -14;
    p[kArmL].rx = 30, p[kElbowL].rx = 40;
    p[kArmR].rx = 25, p[kElbowR].rx = 60;
    return p;
}

// Stride with the left leg forward (sign +1) or the right (sign -1).
Pose Stride(float h, float sign, float swing, float lean) {
    Pose p = Rest();
    p[kChest].rx = lean;
    p[kLegL].rx = swing * sign, p[kLegR].rx = -swing * sign;
    p[kKneeL].rx = sign < 0 ? -swing * 0.9f : -5, p[kKneeR].rx = sign > 0 ? -swing * 0.9f : -5;
    p[kArmL].rx = -swing * 0.8f * sign, p[kArmR].rx = swing * 0.8f * sign;
    p[kElbowL].rx = 15, p[kElbowR].rx = 15;
    p[kHip].offset = V3{0, -0.01f * h, 0};
    return p;
}

Pose Passing(float h, float swing, float lean) {
    Pose p = Stride(h, 0, swing, lean);
    p[kKneeL].rx = p[kKneeR].rx = -swing * 0.5f;
    p[kHip].offset = V3{0, 0.01f * h, 0};
    return p;
}

void AddMotions(RZ_Model& model, const HumanoidLook& look) {
    const float h = look.height;
    Pose breathe = Rest();
    breathe[kChest].rx = 3;
    breathe[kHead].rx = -2;
    breathe[kArmL].rz = 3, breathe[kArmR].rz = -3;
    breathe[kHip].offset = V3{0, -0.006f * h, 0};
    AddMotion(model, kMotionStand, look.standName, {{0, Rest()}, {90, breathe}});
    // Looping motions play forward and then backward, so half a cycle is enough.
    AddMotion(model, kMotionWalk, "fld_walk",
              {{0, Stride(h, 1, 32, 4)}, {10, Passing(h, 32, 4)}, {20, Stride(h, -1, 32, 4)}});
    AddMotion(model, kMotionStance, "btl_stance", {{0, Stance(h, 0)}, {60, Stance(h, 0.015f * h)}});
    Pose weak = Stance(h, 0.06f * h);
    weak[kChest].rx = 35, weak[kHead].rx = -25;
    weak[kArmL].rx = 10, weak[kArmR].rx = 15, weak[kElbowR].rx = 30;
    Pose weak2 = weak;
    weak2[kChest].rx = 40, weak2[kHip].offset.y -= 0.01f * h;
    AddMotion(model, kMotionWeak, "btl_weak", {{0, weak}, {80, weak2}});
    Pose kneel = Stance(h, 0.15f * h);
    kneel[kChest].rx = 30;
    Pose down = Rest();
    down[kHip].rx = 84;  // falls onto the back
    down[kHip].offset = V3{0, -0.42f * h, -0.25f * h};
    down[kArmL].rz = -40, down[kArmR].rz = 40;
    down[kLegL].rx = 10, down[kKneeL].rx = -20;
    AddMotion(model, kMotionDown, "btl_down", {{0, Stance(h, 0)}, {18, kneel}, {40, down}});
    AddMotion(model, kMotionRun, "btl_run",
              {{0, Stride(h, 1, 45, 18)}, {6, Passing(h, 45, 18)}, {12, Stride(h, -1, 45, 18)}});
    Pose recoil = Stance(h, 0.02f * h);
    recoil[kChest].rx = -25, recoil[kHead].rx = 15;
    recoil[kHip].offset.z = -0.08f * h;
    recoil[kArmL].rx = -10, recoil[kArmR].rx = -10;
    AddMotion(model, kMotionHit, "btl_hit", {{0, Stance(h, 0)}, {8, recoil}, {40, Stance(h, 0)}});
    // The swing of a plain attack: the weapon arm winds up over the shoulder and cuts down
    // across the body; technique scripts play it and hit on its middle frames.
    Pose windUp = Stance(h, 0);
    windUp[kChest].rx = -5, windUp[kChest].ry = -25;
    windUp[kArmR].rx = 150, windUp[kElbowR].rx = 30;
    Pose cut = Stance(h, 0.03f * h);
    cut[kChest].rx = 25, cut[kChest].ry = 20;
    cut[kArmR].rx = 20, cut[kElbowR].rx = 5;
    cut[kLegL].rx = 35, cut[kKneeL].rx = -40;
    AddMotion(model, kMotionSlash, "btl_slash",
              {{0, Stance(h, 0)}, {14, windUp}, {24, cut}, {50, cut}, {70, Stance(h, 0)}});
    // A spell: both hands rise and open toward the target.
    Pose reach = Stance(h, 0);
    reach[kChest].rx = -10;
    reach[kArmL].rx = 110, reach[kElbowL].rx = 10, reach[kArmL].rz = -20;
    reach[kArmR].rx = 110, reach[kElbowR].rx = 10, reach[kArmR].rz = 20;
    Pose reach2 = reach;
    reach2[kArmL].rx = reach2[kArmR].rx = 80;
    AddMotion(model, kMotionCast, "btl_cast",
              {{0, Stance(h, 0)}, {30, reach}, {60, reach2}, {90, Stance(h, 0)}});
    Pose cheer = Rest();
    cheer[kArmR].rx = 160, cheer[kElbowR].rx = 10;
    cheer[kArmL].rz = -15;
    cheer[kHead].rx = 10;
    Pose cheer2 = cheer;
    cheer2[kHip].offset = V3{0, 0.03f * h, 0};
    AddMotion(model, kMotionVictory, "btl_win",
              {{0, Stance(h, 0)}, {30, cheer}, {50, cheer2}, {70, cheer}});
}

}  // namespace

void BuildHumanoid(const HumanoidLook& look, RZ_Model& model) {
    model.Reset();
    const float h = look.height;
    BuildSkeleton(model, kBones, kBoneCount, h);
    const float w = 0.055f * h;  // half thickness of limbs
    const std::vector<RigBox> parts = {
        {{-0.12f * h, 0.47f * h, -0.07f * h},
         {0.12f * h, 0.60f * h, 0.07f * h},
         kHip,
         -1,
         kTrousers,
         kAccent},
        {{-0.14f * h, 0.60f * h, -0.08f * h},
         {0.14f * h, 0.80f * h, 0.08f * h},
         kChest,
         -1,
         kShirt,
         kShirt},
        {{-0.08f * h, 0.80f * h, -0.08f * h},
         {0.08f * h, 0.97f * h, 0.09f * h},
         kHead,
         -1,
         kSkin,
         kFace},
        {{-0.09f * h, 0.93f * h, -0.10f * h},
         {0.09f * h, 1.00f * h, 0.06f * h},
         kHead,
         -1,
         kHair,
         kHair},
        {{-0.18f * h - w, 0.60f * h, -w},
         {-0.18f * h + w, 0.80f * h, w},
         kArmL,
         -1,
         kShirt,
         kShirt},
        {{-0.18f * h - w, 0.43f * h, -w},
         {-0.18f * h + w, 0.60f * h, w},
         kElbowL,
         kArmL,
         kSkin,
         kSkin},
        {{-0.18f * h - w, 0.38f * h, -w},
         {-0.18f * h + w, 0.43f * h, w},
         kGuard,
         -1,
         kAccent,
         kAccent},
        {{0.18f * h - w, 0.60f * h, -w}, {0.18f * h + w, 0.80f * h, w}, kArmR, -1, kShirt, kShirt},
        {{0.18f * h - w, 0.43f * h, -w},
         {0.18f * h + w, 0.60f * h, w},
         kElbowR,
         kArmR,
         kSkin,
         kSkin},
        {{0.18f * h - w, 0.38f * h, -w}, {0.18f * h + w, 0.43f * h, w}, kWeapon, -1, kSkin, kSkin},
        {{-0.07f * h - w, 0.27f * h, -w},
         {-0.07f * h + w, 0.50f * h, w},
         kLegL,
         -1,
         kTrousers,
         kTrousers},
        {{-0.07f * h - w, 0.03f * h, -w},
         {-0.07f * h + w, 0.27f * h, w},
         kKneeL,
         kLegL,
         kTrousers,
         kTrousers},
        {{-0.07f * h - w, 0.0f, -w},
         {-0.07f * h + w, 0.05f * h, w + 0.06f * h},
         kKneeL,
         -1,
         kBoots,
         kBoots},
        {{0.07f * h - w, 0.27f * h, -w},
         {0.07f * h + w, 0.50f * h, w},
         kLegR,
         -1,
         kTrousers,
         kTrousers},
        {{0.07f * h - w, 0.03f * h, -w},
         {0.07f * h + w, 0.27f * h, w},
         kKneeR,
         kLegR,
         kTrousers,
         kTrousers},
        {{0.07f * h - w, 0.0f, -w},
         {0.07f * h + w, 0.05f * h, w + 0.06f * h},
         kKneeR,
         -1,
         kBoots,
         kBoots},
    };
    RZ_Mesh body;
    body.name = "body";
    for (RigBox part : parts) {
        part.paintedFront = part.front == kFace;
        AddRigBox(model, body, part);
    }
    model.meshes.push_back(std::move(body));
    model.materialCount = 1;
    model.materials[0].sourceName = look.texture;
    model.materials[0].red = model.materials[0].green = model.materials[0].blue = 1.0f;
    AddMotions(model, look);
    model.SetCurrentAnimation(kMotionStand);
    model.ResetAnimation();
}

Image HumanoidTexture(const HumanoidLook& look) {
    Image img = SwatchTexture(
        {look.skin, look.hair, look.shirt, look.trousers, look.boots, look.skin, look.accent});
    // The face: hair fringe, two eyes and a mouth on the skin swatch.
    const int fx = (kFace % 4) * 16, fy = (kFace / 4) * 16;
    FillRect(img, fx, fy, 16, 3, look.hair);
    FillRect(img, fx + 4, fy + 6, 2, 3, look.eyes);
    FillRect(img, fx + 10, fy + 6, 2, 3, look.eyes);
    FillRect(img, fx + 6, fy + 12, 4, 1, ShadeRgb(look.skin, 0.6f));
    return img;
}
