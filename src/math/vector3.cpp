#include "math/vector3.h"

#include "math/math_scalar.h"
#include "math/matrix44.h"
#include "math/quaternion.h"

float Vector3::Length() const {
    return Sqrt(x * x + y * y + z * z);
}

void Vector3::Normalize() {
    const float len = Length();
    const float f = len == 0.0f ? 0.0f : 1.0f / len;
    x *= f;
    y *= f;
    z *= f;
}

void Vector3::Add(const Vector3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
}

void Vector3::Sub(const Vector3& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
}

void Vector3::ScaleBy(float sx, float sy, float sz) {
    x *= sx;
    y *= sy;
    z *= sz;
}

void Vector3::LerpTo(float t, const Vector3& v) {
    x += (v.x - x) * t;
    y += (v.y - y) * t;
    z += (v.z - z) * t;
}

void Vector3::Rotate(const Quaternion& q) {
    Quaternion r{-q.x, -q.y, -q.z, q.w};
    r.MultiplyVector(x, y, z);
    r.Multiply(q);
    Set(r.x, r.y, r.z);
}

void Vector3::Transform(const Matrix44& m) {
    const float nx = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    const float ny = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    const float nz = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    Set(nx, ny, nz);
}

float Vector3::Dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void Vector3::Cross(Vector3& out, const Vector3& a, const Vector3& b) {
    out.Set(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

void Vector3::Hermite(Vector3& out, const Vector3& p0, const Vector3& p1, const Vector3& t0,
                      const Vector3& t1, float s) {
    const float s2 = s * s;
    const float s3 = s2 * s;
    auto h = [&](float a0, float a1, float d0, float d1) {
        return (2 * a0 - 2 * a1 + d0 + d1) * s3 + (-3 * a0 + 3 * a1 - 2 * d0 - d1) * s2 + d0 * s +
               a0;
    };
    out.Set(h(p0.x, p1.x, t0.x, t1.x), h(p0.y, p1.y, t0.y, t1.y), h(p0.z, p1.z, t0.z, t1.z));
}
