#pragma once

// Quaternion (x, y, z, w in this order; w is the scalar part). The identity rotation is
// (0, 0, 0, 1); default-constructed quaternions are all zero.
struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    void Set(float nx, float ny, float nz, float nw) {
        x = nx;
        y = ny;
        z = nz;
        w = nw;
    }

    // this = this * q (Hamilton product); q may be this object.
    void Multiply(const Quaternion& q);
    // this = this * (vx, vy, vz, 0)
    void MultiplyVector(float vx, float vy, float vz);
    // Divides by the four-component length; a zero quaternion stays zero.
    void Normalize();
    // The rotation whose matrix is Matrix44::RotationYawPitchRoll(yaw, pitch, roll).
    void RotationYawPitchRoll(float yaw, float pitch, float roll);

    // out = normalised a + (b - a) * t; out may be a or b.
    static void NLerp(Quaternion& out, const Quaternion& a, const Quaternion& b, float t);
    // Spherical interpolation along the shorter arc; close ends use NLerp. out may be a or b.
    static void Slerp(Quaternion& out, const Quaternion& a, const Quaternion& b, float t);
};
