#pragma once

#include "math/quaternion.h"
#include "math/vector3.h"

// 4 x 4 matrix of row vectors: element m[r][c], translation in row 3.
// A product A x B applies A first, then B. Left-handed, angles in radians.
// Kept a plain aggregate (the graphics device copies it as 16 floats): `Matrix44 m{}` is all
// zero, and the builders below overwrite the whole matrix unless they say otherwise.
struct Matrix44 {
    float m[4][4];

    void Identity();
    void Transpose();
    // General inverse by Gauss-Jordan elimination on columns; a singular matrix becomes the
    // identity.
    void Inverse();
    // Inverse of a rotation-plus-translation matrix (transposed rotation, rotated translation).
    void RigidInverse();
    // this = this x b; b may be this object.
    void Multiply(const Matrix44& b);
    // out = a x b; out may be a or b.
    static void Product(Matrix44& out, const Matrix44& a, const Matrix44& b);

    // Rotation about the axis named 'X', 'Y' or 'Z' (either case). Row 3 and column 3 always
    // become those of the identity; any other character leaves the upper 3 x 3 block alone.
    void RotationAxis(char axis, float angle);
    // this = Rz(roll) x Rx(pitch) x Ry(yaw)
    void RotationYawPitchRoll(float yaw, float pitch, float roll);
    // this = Rz(v.z) x Rx(v.x) x Ry(v.y)
    void RotationEuler(const Vector3& v);
    void RotationQuaternion(const Quaternion& q);
    void Translation(float x, float y, float z);
    void Translation(const Vector3& v);
    // Identity with the diagonal (x, y, z, w).
    void Scaling(float x, float y, float z, float w);
    void Scaling(const Vector3& v);
    // Left-handed view matrix of a camera at eye looking at at.
    void LookAt(const Vector3& eye, const Vector3& at, const Vector3& up);
    // World matrix of an object at position, turned the way a camera at from looking at to is.
    void FaceTowards(const Vector3& from, const Vector3& to, const Vector3& position);
    // Flattens points along direction d onto the plane y = 0 (shadows).
    void PlanarProjection(const Vector3& d);
};
