#pragma once

struct Matrix44;
struct Quaternion;

// Three-component vector (x, y, z in this order). Default-constructed vectors are zero; `Set`
// or brace initialisation gives values. Operations write their result into the object itself.
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }

    float Length() const;
    // Scales to unit length; a zero vector stays zero.
    void Normalize();
    void Add(const Vector3& v);
    void Sub(const Vector3& v);
    void ScaleBy(float sx, float sy, float sz);
    // this = this + (v - this) * t
    void LerpTo(float t, const Vector3& v);
    // Rotation by conj(q) * v * q, which is the same as transforming by RotationQuaternion(q).
    void Rotate(const Quaternion& q);
    // this = (x, y, z, 1) x m, without division by w.
    void Transform(const Matrix44& m);

    static float Dot(const Vector3& a, const Vector3& b);
    // out = a x b; out may be a or b.
    static void Cross(Vector3& out, const Vector3& a, const Vector3& b);
    // Cubic Hermite point between p0 and p1 with tangents t0 and t1 at parameter s in [0, 1].
    static void Hermite(Vector3& out, const Vector3& p0, const Vector3& p1, const Vector3& t0,
                        const Vector3& t1, float s);
};

inline float Dot(const Vector3& a, const Vector3& b) {
    return Vector3::Dot(a, b);
}
inline void Cross(Vector3& out, const Vector3& a, const Vector3& b) {
    Vector3::Cross(out, a, b);
}
inline void Hermite(Vector3& out, const Vector3& p0, const Vector3& p1, const Vector3& t0,
                    const Vector3& t1, float s) {
    Vector3::Hermite(out, p0, p1, t0, t1, s);
}
