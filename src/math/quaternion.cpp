#include "math/quaternion.h"

#include <algorithm>
#include <cmath>

#include "math/math_scalar.h"

void Quaternion::Multiply(const Quaternion& q) {
    const float x1 = x, y1 = y, z1 = z, w1 = w;
    const float x2 = q.x, y2 = q.y, z2 = q.z, w2 = q.w;
    x = w1 * x2 + x1 * w2 + y1 * z2 - z1 * y2;
    y = w1 * y2 - x1 * z2 + y1 * w2 + z1 * x2;
    z = w1 * z2 + x1 * y2 - y1 * x2 + z1 * w2;
    w = w1 * w2 - x1 * x2 - y1 * y2 - z1 * z2;
}

void Quaternion::MultiplyVector(float vx, float vy, float vz) {
    Multiply(Quaternion{vx, vy, vz, 0.0f});
}

void Quaternion::Normalize() {
    const float len = Sqrt(x * x + y * y + z * z + w * w);
    if (len == 0.0f) return;
    x /= len;
    y /= len;
    z /= len;
    w /= len;
}

// Built from the same polynomial sine and cosine as the matrix version. The half angles are
// negated because RotationQuaternion reads a quaternion the right-handed way while the axis
// matrices are left-handed.
void Quaternion::RotationYawPitchRoll(float yaw, float pitch, float roll) {
    Set(0.0f, 0.0f, TaylorSin(-roll / 2), TaylorCos(-roll / 2));
    Multiply(Quaternion{TaylorSin(-pitch / 2), 0.0f, 0.0f, TaylorCos(-pitch / 2)});
    Multiply(Quaternion{0.0f, TaylorSin(-yaw / 2), 0.0f, TaylorCos(-yaw / 2)});
}

void Quaternion::NLerp(Quaternion& out, const Quaternion& a, const Quaternion& b, float t) {
    Quaternion r{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
                 a.w + (b.w - a.w) * t};
    r.Normalize();
    out = r;
}

void Quaternion::Slerp(Quaternion& out, const Quaternion& a, const Quaternion& b, float t) {
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    Quaternion e = b;
    if (d < 0.0f) {
        d = -d;
        e.Set(-b.x, -b.y, -b.z, -b.w);
    }
    // Close ends: the arc formula would divide by a small sine; the normalised blend is as good.
    // The switch point is compared in single precision, so d == 0.95f already blends.
    if (d >= 0.95f) {
        NLerp(out, a, e, t);
        return;
    }
    d = std::clamp(d, -1.0f, 1.0f);
    const float theta = static_cast<float>(std::acos(static_cast<double>(d)));
    const float s = TaylorSin(theta);
    const float fa = TaylorSin((1.0f - t) * theta);
    const float fb = TaylorSin(t * theta);
    out.Set((fa * a.x + fb * e.x) / s, (fa * a.y + fb * e.y) / s, (fa * a.z + fb * e.z) / s,
            (fa * a.w + fb * e.w) / s);
}
