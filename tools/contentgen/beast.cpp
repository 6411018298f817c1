#include "beast.h"

#include <vector>

#include "humanoid.h"
#include "model/rz_model.h"
#include "rig_builder.h"

namespace {

enum Bone {
    kRoot,
    kHip,
    kChest,
    kHead,
    kJaw,
    kTail,
    kLegFL,
    kKneeFL,
    kLegFR,
    kKneeFR,
    kLegBL,
    kKneeBL,
    kLegBR,
    kKneeBR,
    kBoneCount
};

const RigBone kBones[kBoneCount] = {
    {nullptr, 0, 0, 0, 0},
    {"hip", 0, 0, 0.55f, -0.30f},
    {"chest", kHip, 0, 0.58f, 0.15f},
    {"head_b", kChest, 0, 0.72f, 0.42f},
    {"wea_b", kHead, 0, 0.68f, 0.62f},
    {"gua_b", kHip, 0, 0.62f, -0.52f},
    {"leg_fl", kChest, -0.13f, 0.48f, 0.30f},
    {"knee_fl", kLegFL, -0.13f, 0.24f, 0.30f},
    {"leg_fr", kChest, 0.13f, 0.48f, 0.30f},
    {"knee_fr", kLegFR, 0.13f, 0.24f, 0.30f},
    {"leg_bl", kHip, -0.13f, 0.48f, -0.38f},
    {"knee_bl", kLegBL, -0.13f, 0.24f, -0.38f},
    {"leg_br", kHip, 0.13f, 0.48f, -0.38f},
    {"knee_br", kLegBR, 0.13f, 0.24f, -0.38f},
};

enum Swatch { kFur, kBelly, kMane, kFace, kClaws, kMouth, kSwatchCount };

Pose Rest() {
    return Pose(kBoneCount);
}

// Legs of a pair swing in opposite directions; `a` moves the left front and right back leg.
Pose Gait(float h, float a, float b, float lift) {
    Pose p = Rest();
    p[kLegFL].rx = a, p[kLegBR].rx = a;
    p[kLegFR].rx = b, p[kLegBL].rx = b;
    p[kKneeFL].rx = a < 0 ? -a : 0, p[kKneeBR].rx = a > 0 ? a : 0;
    p[kKneeFR].rx = b < 0 ? -b : 0, p[kKneeBL].rx = b > 0 ? b : 0;
    p[kHip].offset = V3{0, lift * h, 0};
    p[kTail].ry = a * 0.4f;
    return p;
}

// Ready to pounce: head low, shoulders down, tail up.
Pose Crouch(float h, float dip) {
    Pose p = Rest();
    p[kHip].offset = V3{0, -dip * h, 0};
    p[kChest].rx = 8;
    p[kHead].rx = 12;
    p[kTail].rx = -30;
    p[kLegFL].rx = p[kLegFR].rx = -12, p[kKneeFL].rx = p[kKneeFR].rx = 20;
    p[kLegBL].rx = p[kLegBR].rx = 15, p[kKneeBL].rx = p[kKneeBR].rx = -25;
    return p;
}

void AddMotions(RZ_Model& model, const BeastLook& look) {
    const float h = look.height;
    Pose breathe = Rest();
    breathe[kChest].rx = 2, breathe[kHead].rx = -4, breathe[kTail].ry = 15;
    breathe[kHip].offset = V3{0, -0.008f * h, 0};
    AddMotion(model, kMotionStand, look.standName, {{0, Rest()}, {80, breathe}});
    AddMotion(model, kMotionWalk, "fld_walk",
              {{0, Gait(h, 20, -20, 0)}, {12, Gait(h, 0, 0, 0.01f)}, {24, Gait(h, -20, 20, 0)}});
    AddMotion(model, kMotionStance, "btl_stance", {{0, Crouch(h, 0.03f)}, {50, Crouch(h, 0.05f)}});
    Pose weak = Crouch(h, 0.10f);
    weak[kHead].rx = 35, weak[kTail].rx = 20;
    Pose weak2 = weak;
    weak2[kHead].rx = 40, weak2[kHip].offset.y -= 0.01f * h;
    AddMotion(model, kMotionWeak, "btl_weak", {{0, weak}, {70, weak2}});
    Pose side = Rest();
    side[kHip].rz = 85;  // rolls onto its side
    side[kHip].offset = V3{0.2f * h, -0.38f * h, 0};
    side[kHead].rx = 20, side[kTail].ry = 30;
    side[kLegFL].rx = side[kLegBL].rx = 25;
    AddMotion(model, kMotionDown, "btl_down", {{0, Crouch(h, 0.03f)}, {16, weak}, {40, side}});
    AddMotion(
        model, kMotionRun, "btl_run",
        {{0, Gait(h, 40, -35, 0.02f)}, {6, Gait(h, 0, 0, 0.05f)}, {12, Gait(h, -40, 35, 0.02f)}});
    // The bite: a lunge with the jaw open, then the snap.
    Pose lunge = Crouch(h, 0.02f);
    lunge[kHip].offset = V3{0, 0.02f * h, 0.18f * h};
    lunge[kChest].rx = -10, lunge[kHead].rx = -15, lunge[kJaw].rx = 40;
    lunge[kLegFL].rx = lunge[kLegFR].rx = 45;
    lunge[kLegBL].rx = lunge[kLegBR].rx = -35;
    Pose snap = lunge;
    snap[kHead].rx = 15, snap[kJaw].rx = 0;
    AddMotion(model, kMotionSlash, "btl_bite",
              {{0, Crouch(h, 0.03f)},
               {14, Crouch(h, 0.08f)},
               {24, lunge},
               {34, snap},
               {60, Crouch(h, 0.03f)}});
    Pose roar = Crouch(h, 0.0f);
    roar[kHead].rx = -30, roar[kJaw].rx = 35;
    AddMotion(model, kMotionCast, "btl_roar",
              {{0, Crouch(h, 0.03f)}, {30, roar}, {70, roar}, {90, Crouch(h, 0.03f)}});
    Pose recoil = Crouch(h, 0.02f);
    recoil[kHip].offset.z = -0.12f * h;
    recoil[kChest].rx = -15, recoil[kHead].rx = -25;
    AddMotion(model, kMotionHit, "btl_hit",
              {{0, Crouch(h, 0.03f)}, {8, recoil}, {40, Crouch(h, 0.03f)}});
    Pose howl = Rest();
    howl[kChest].rx = -20, howl[kHead].rx = -45, howl[kJaw].rx = 30, howl[kTail].rx = -40;
    howl[kLegBL].rx = howl[kLegBR].rx = 20;
    Pose howl2 = howl;
    howl2[kHead].rx = -55;
    AddMotion(model, kMotionVictory, "btl_win", {{0, Crouch(h, 0.03f)}, {30, howl}, {70, howl2}});
}

}  // namespace

void BuildBeast(const BeastLook& look, RZ_Model& model) {
    model.Reset();
    const float h = look.height;
    BuildSkeleton(model, kBones, kBoneCount, h);
    const float w = 0.045f * h;  // half thickness of legs
    auto leg = [&](float x, float z, int upper, int lower) {
        return std::vector<RigBox>{
            {{x - w, 0.24f * h, z - w}, {x + w, 0.52f * h, z + w}, upper, -1, kFur, kFur},
            {{x - w * 0.8f, 0.03f * h, z - w * 0.8f},
             {x + w * 0.8f, 0.24f * h, z + w * 0.8f},
             lower,
             upper,
             kMane,
             kMane},
            {{x - w, 0.0f, z - w}, {x + w, 0.04f * h, z + w * 2.0f}, lower, -1, kClaws, kClaws},
        };
    };
    std::vector<RigBox> parts = {
        {{-0.15f * h, 0.40f * h, -0.50f * h},
         {0.15f * h, 0.66f * h, -0.02f * h},
         kHip,
         -1,
         kFur,
         kFur},
        {{-0.17f * h, 0.40f * h, -0.02f * h},
         {0.17f * h, 0.72f * h, 0.36f * h},
         kChest,
         -1,
         kFur,
         kBelly},
        {{-0.12f * h, 0.66f * h, 0.02f * h},
         {0.12f * h, 0.80f * h, 0.30f * h},
         kChest,
         -1,
         kMane,
         kMane},
        {{-0.11f * h, 0.62f * h, 0.34f * h},
         {0.11f * h, 0.88f * h, 0.58f * h},
         kHead,
         -1,
         kFur,
         kFace,
         true},
        {{-0.065f * h, 0.70f * h, 0.58f * h},
         {0.065f * h, 0.79f * h, 0.80f * h},
         kHead,
         -1,
         kFur,
         kMane},
        {{-0.055f * h, 0.63f * h, 0.58f * h},
         {0.055f * h, 0.69f * h, 0.78f * h},
         kJaw,
         -1,
         kMouth,
         kMouth},
        {{-0.10f * h, 0.88f * h, 0.42f * h},
         {-0.04f * h, 1.00f * h, 0.50f * h},
         kHead,
         -1,
         kMane,
         kMane},
        {{0.04f * h, 0.88f * h, 0.42f * h},
         {0.10f * h, 1.00f * h, 0.50f * h},
         kHead,
         -1,
         kMane,
         kMane},
        {{-0.04f * h, 0.56f * h, -0.90f * h},
         {0.04f * h, 0.66f * h, -0.48f * h},
         kTail,
         -1,
         kMane,
         kMane},
    };
    for (auto part :
         {leg(-0.13f * h, 0.30f * h, kLegFL, kKneeFL), leg(0.13f * h, 0.30f * h, kLegFR, kKneeFR),
          leg(-0.13f * h, -0.38f * h, kLegBL, kKneeBL),
          leg(0.13f * h, -0.38f * h, kLegBR, kKneeBR)})
        parts.insert(parts.end(), part.begin(), part.end());
    RZ_Mesh body;
    body.name = "body";
    for (const RigBox& part : parts) AddRigBox(model, body, part);
    model.meshes.push_back(std::move(body));
    model.materialCount = 1;
    model.materials[0].sourceName = look.texture;
    model.materials[0].red = model.materials[0].green = model.materials[0].blue = 1.0f;
    AddMotions(model, look);
    model.SetCurrentAnimation(kMotionStand);
    model.ResetAnimation();
}

Image BeastTexture(const BeastLook& look) {
    Image img = SwatchTexture({look.fur, look.belly, look.mane, look.fur, look.claws, 0xFF401818});
    // The face: two eyes over the muzzle's dark line.
    const int fx = (kFace % 4) * 16, fy = (kFace / 4) * 16;
    FillRect(img, fx + 2, fy + 5, 4, 3, look.eyes);
    FillRect(img, fx + 10, fy + 5, 4, 3, look.eyes);
    FillRect(img, fx + 3, fy + 6, 1, 1, 0xFF000000);
    FillRect(img, fx + 12, fy + 6, 1, 1, 0xFF000000);
    FillRect(img, fx + 5, fy + 12, 6, 2, ShadeRgb(look.mane, 0.6f));
    return img;
}
