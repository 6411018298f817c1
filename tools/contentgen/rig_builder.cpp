#include "rig_builder.h"

#include <cmath>

#include "math/quaternion.h"
#include "model/rz_model.h"

namespace {

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

}  // namespace

void BuildSkeleton(RZ_Model& model, const RigBone* bones, int count, float height) {
    for (int b = 1; b < count; ++b) {
        model.bones[b] = std::make_unique<RZ_Bone>();
        model.bones[b]->SetName(bones[b].name);
    }
    for (int b = 0; b < count; ++b) {
        RZ_Bone& bone = *model.bones[b];
        bone.origin = Vector3{bones[b].x * height, bones[b].y * height, bones[b].z * height};
        bone.parent = uint8_t(bones[b].parent);
        bone.range = 0.1f * height;
        int slot = 0;
        for (int c = 1; c < count; ++c)
            if (bones[c].parent == b && slot < kRzMaxChildren) bone.children[slot++] = uint8_t(c);
    }
}

void AddPoseKey(RZ_Model& model, int slot, int frame, const Pose& pose) {
    RZ_Animation* anim = model.animations[slot].get();
    for (size_t b = 0; b < pose.size(); ++b) {
        const BonePose& p = pose[b];
        Quaternion q = Combine(Combine(AxisAngle(1, 0, 0, p.rx), AxisAngle(0, 1, 0, p.ry)),
                               AxisAngle(0, 0, 1, p.rz));
        anim->tracks[b]->AddKey(frame, Vector3{p.offset.x, p.offset.y, p.offset.z}, q,
                                Vector3{1.0f, 1.0f, 1.0f});
    }
}

void AddMotion(RZ_Model& model, int slot, const std::string& name,
               const std::vector<std::pair<int, Pose>>& keys) {
    model.CreateAnimation(uint32_t(slot), name.c_str());
    for (const auto& [frame, pose] : keys) AddPoseKey(model, slot, frame, pose);
}

UvRect SwatchUv(int s, bool whole) {
    const float u = float(s % 4) * 0.25f, v = float(s / 4) * 0.25f;
    const float inset = whole ? 0.002f : 0.09f;
    return UvRect{u + inset, v + inset, u + 0.25f - inset, v + 0.25f - inset};
}

void AddRigBox(RZ_Model& model, RZ_Mesh& mesh, const RigBox& box) {
    const V3 lo = box.lo, hi = box.hi, centre = (lo + hi) * 0.5f;
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
        const UvRect uv = SwatchUv(f.front ? box.front : box.swatch, f.front && box.paintedFront);
        const float us[4] = {uv.u0, uv.u1, uv.u1, uv.u0}, vs[4] = {uv.v0, uv.v0, uv.v1, uv.v1};
        RZ_Face face;
        face.cornerCount = 4;
        face.material = 0;
        for (int k = 0; k < 4; ++k) {
            RZ_Vertex v;
            v.position = Vector3{c[k].x, c[k].y, c[k].z};
            v.bone0 = uint8_t(box.bone);
            const bool top = c[k].y >= hi.y - 0.001f;
            if (box.blendParent >= 0 && top) {
                v.bone1 = uint8_t(box.blendParent);
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

Image SwatchTexture(const std::vector<uint32_t>& colours) {
    Image img(64, 64, 0xFF808080);
    for (size_t s = 0; s < colours.size() && s < 16; ++s) {
        const int x0 = int(s % 4) * 16, y0 = int(s / 4) * 16;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                img.At(x0 + x, y0 + y) = ShadeRgb(
                    colours[s],
                    0.92f + 0.08f * float(Hash3(uint32_t(s), uint32_t(x), uint32_t(y)) & 7) / 7.0f);
    }
    return img;
}
