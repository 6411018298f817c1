#include "humanoid.h"

#include <cmath>
#include <vector>

#include "app/sjis.h"
#include "math/quaternion.h"
#include "mesh_builder.h"
#include "model/rz_model.h"

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

struct BoneSpec {
    const char* name;
    int parent;
    float x, y, z;  // origin as a share of the height
};

const BoneSpec kBones[kBoneCount] = {
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

UvRect SwatchUv(int s, bool whole = false) {
    const float u = float(s % 4) * 0.25f, v = float(s / 4) * 0.25f;
    // Flat-coloured parts sample the middle of their square only, so filtering never reaches
    // a neighbour.
    const float inset = whole ? 0.002f : 0.09f;
    return UvRect{u + inset, v + inset, u + 0.25f - inset, v + 0.25f - inset};
}

struct Part {
    V3 lo, hi;
    int bone;
    int blendParent;  // -1: none; else top vertices share with this bone
    Swatch swatch;
    Swatch front;  // the +z face's swatch (the face of the head)
};

constexpr float kPi = 3.14159265f;

Quaternion AxisAngle(float ax, float ay, float az, float degrees) {
    // Vector3::Rotate turns by the conjugate, so a positive angle about x swings a limb that
    // hangs down forward (toward +z).
    const float h = degrees * kPi / 360.0f;
    const float s = std::sin(h);
    return Quaternion{ax * s, ay * s, az * s, std::cos(h)};
}

Quaternion Combine(const Quaternion& a, const Quaternion& b) {
    Quaternion q = a;
    q.Multiply(b);
    q.Normalize();
    return q;
}

struct BonePose {
    float rx = 0, ry = 0, rz = 0;  // degrees about x, then y, then z
    V3 offset;
};
using Pose = std::vector<BonePose>;

Pose Rest() {
    return Pose(kBoneCount);
}

void AddPoseKey(RZ_Model& model, int slot, int frame, const Pose& pose) {
    RZ_Animation* anim = model.animations[slot].get();
    for (int b = 0; b < kBoneCount; ++b) {
        const BonePose& p = pose[size_t(b)];
        Quaternion q = Combine(Combine(AxisAngle(1, 0, 0, p.rx), AxisAngle(0, 1, 0, p.ry)),
                               AxisAngle(0, 0, 1, p.rz));
        anim->tracks[b]->AddKey(frame, Vector3{p.offset.x, p.offset.y, p.offset.z}, q,
                                Vector3{1.0f, 1.0f, 1.0f});
    }
}

void Motion(RZ_Model& model, int slot, const std::string& name,
            const std::vector<std::pair<int, Pose>>& keys) {
    model.CreateAnimation(uint32_t(slot), name.c_str());
    for (const auto& [frame, pose] : keys) AddPoseKey(model, slot, frame, pose);
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
    Motion(model, kMotionStand, look.standName, {{0, Rest()}, {90, breathe}});
    // Looping motions play forward and then backward, so half a cycle is enough.
    Motion(model, kMotionWalk, "fld_walk",
           {{0, Stride(h, 1, 32, 4)}, {10, Passing(h, 32, 4)}, {20, Stride(h, -1, 32, 4)}});
    Motion(model, kMotionStance, "btl_stance", {{0, Stance(h, 0)}, {60, Stance(h, 0.015f * h)}});
    Pose weak = Stance(h, 0.06f * h);
    weak[kChest].rx = 35, weak[kHead].rx = -25;
    weak[kArmL].rx = 10, weak[kArmR].rx = 15, weak[kElbowR].rx = 30;
    Pose weak2 = weak;
    weak2[kChest].rx = 40, weak2[kHip].offset.y -= 0.01f * h;
    Motion(model, kMotionWeak, "btl_weak", {{0, weak}, {80, weak2}});
    Pose kneel = Stance(h, 0.15f * h);
    kneel[kChest].rx = 30;
    Pose down = Rest();
    down[kHip].rx = 84;  // falls onto the back
    down[kHip].offset = V3{0, -0.42f * h, -0.25f * h};
    down[kArmL].rz = -40, down[kArmR].rz = 40;
    down[kLegL].rx = 10, down[kKneeL].rx = -20;
    Motion(model, kMotionDown, "btl_down", {{0, Stance(h, 0)}, {18, kneel}, {40, down}});
    Motion(model, kMotionRun, "btl_run",
           {{0, Stride(h, 1, 45, 18)}, {6, Passing(h, 45, 18)}, {12, Stride(h, -1, 45, 18)}});
    Pose recoil = Stance(h, 0.02f * h);
    recoil[kChest].rx = -25, recoil[kHead].rx = 15;
    recoil[kHip].offset.z = -0.08f * h;
    recoil[kArmL].rx = -10, recoil[kArmR].rx = -10;
    Motion(model, kMotionHit, "btl_hit", {{0, Stance(h, 0)}, {8, recoil}, {40, Stance(h, 0)}});
    Pose cheer = Rest();
    cheer[kArmR].rx = 160, cheer[kElbowR].rx = 10;
    cheer[kArmL].rz = -15;
    cheer[kHead].rx = 10;
    Pose cheer2 = cheer;
    cheer2[kHip].offset = V3{0, 0.03f * h, 0};
    Motion(model, kMotionVictory, "btl_win",
           {{0, Stance(h, 0)}, {30, cheer}, {50, cheer2}, {70, cheer}});
}

void AddBox(RZ_Model& model, RZ_Mesh& mesh, const Part& part) {
    const V3 lo = part.lo, hi = part.hi, centre = (lo + hi) * 0.5f;
    auto p = [&](int x, int y, int z) {
        return V3{x ? hi.x : lo.x, y ? hi.y : lo.y, z ? hi.z : lo.z};
    };
    struct FaceSpec {
        V3 c[4];
        bool front;
    };
    const FaceSpec faces[6] = {
        {{p(0, 1, 0), p(1, 1, 0), p(1, 0, 0), p(0, 0, 0)}, false},
        {{p(1, 1, 1), p(0, 1, 1), p(0, 0, 1), p(1, 0, 1)}, true},
        {{p(0, 1, 1), p(0, 1, 0), p(0, 0, 0), p(0, 0, 1)}, false},
        {{p(1, 1, 0), p(1, 1, 1), p(1, 0, 1), p(1, 0, 0)}, false},
        {{p(0, 1, 1), p(1, 1, 1), p(1, 1, 0), p(0, 1, 0)}, false},
        {{p(0, 0, 0), p(1, 0, 0), p(1, 0, 1), p(0, 0, 1)}, false},
    };
    for (const FaceSpec& f : faces) {
        V3 c[4] = {f.c[0], f.c[1], f.c[2], f.c[3]};
        // Outward: (q - p) x (r - p) must point away from the box's centre.
        V3 n = Cross(c[1] - c[0], c[2] - c[0]);
        V3 mid = (c[0] + c[2]) * 0.5f;
        if (Dot(n, mid - centre) < 0) std::swap(c[1], c[3]);
        const UvRect uv =
            SwatchUv(f.front ? part.front : part.swatch, f.front && part.front == kFace);
        const float us[4] = {uv.u0, uv.u1, uv.u1, uv.u0}, vs[4] = {uv.v0, uv.v0, uv.v1, uv.v1};
        RZ_Face face;
        face.cornerCount = 4;
        face.material = 0;
        for (int k = 0; k < 4; ++k) {
            RZ_Vertex v;
            v.position = Vector3{c[k].x, c[k].y, c[k].z};
            v.bone0 = uint8_t(part.bone);
            // The top of a forearm or shin follows the joint above it half way.
            const bool top = c[k].y >= hi.y - 0.001f;
            if (part.blendParent >= 0 && top) {
                v.bone1 = uint8_t(part.blendParent);
                v.weight = 0.5f;
            }
            face.vertexIndex[k] = uint16_t(model.vertices.size());
            face.uvIndex[k] = uint16_t(model.uvs.size());
            model.vertices.push_back(v);
            model.uvs.push_back(RZ_TexCoord{us[k], vs[k]});
        }
        mesh.faces.push_back(face);
    }
}

}  // namespace

void BuildHumanoid(const HumanoidLook& look, RZ_Model& model) {
    model.Reset();
    const float h = look.height;
    for (int b = 1; b < kBoneCount; ++b) {
        model.bones[b] = std::make_unique<RZ_Bone>();
        model.bones[b]->SetName(kBones[b].name);
    }
    for (int b = 0; b < kBoneCount; ++b) {
        RZ_Bone& bone = *model.bones[b];
        bone.origin = Vector3{kBones[b].x * h, kBones[b].y * h, kBones[b].z * h};
        bone.parent = uint8_t(kBones[b].parent);
        bone.range = 0.1f * h;
        // The root holds the hips; every other bone lists the bones whose parent it is.
        int slot = 0;
        for (int c = 1; c < kBoneCount; ++c) {
            const bool child = b == kRoot ? c == kHip : (kBones[c].parent == b && c != kHip);
            if (child && slot < kRzMaxChildren) bone.children[slot++] = uint8_t(c);
        }
    }
    const float w = 0.055f * h;  // half thickness of limbs
    const std::vector<Part> parts = {
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
    for (const Part& part : parts) AddBox(model, body, part);
    model.meshes.push_back(std::move(body));
    model.materialCount = 1;
    model.materials[0].sourceName = look.texture;
    model.materials[0].red = model.materials[0].green = model.materials[0].blue = 1.0f;
    AddMotions(model, look);
    model.SetCurrentAnimation(kMotionStand);
    model.ResetAnimation();
}

Image HumanoidTexture(const HumanoidLook& look) {
    Image img(64, 64, 0xFF808080);
    const uint32_t colours[kSwatchCount] = {look.skin,  look.hair, look.shirt, look.trousers,
                                            look.boots, look.skin, look.accent};
    for (int s = 0; s < kSwatchCount; ++s) {
        const int x0 = (s % 4) * 16, y0 = (s / 4) * 16;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                img.At(x0 + x, y0 + y) = Shade(
                    colours[s],
                    0.92f + 0.08f * float(Hash3(uint32_t(s), uint32_t(x), uint32_t(y)) & 7) / 7.0f);
    }
    // The face: hair fringe, two eyes and a mouth on the skin swatch.
    const int fx = (kFace % 4) * 16, fy = (kFace / 4) * 16;
    FillRect(img, fx, fy, 16, 3, look.hair);
    FillRect(img, fx + 4, fy + 6, 2, 3, look.eyes);
    FillRect(img, fx + 10, fy + 6, 2, 3, look.eyes);
    FillRect(img, fx + 6, fy + 12, 4, 1, Shade(look.skin, 0.6f));
    return img;
}
