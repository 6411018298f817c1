#include "math/matrix44.h"

#include <cmath>
#include <utility>

#include "math/math_scalar.h"

void Matrix44::Identity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0f : 0.0f;
}

void Matrix44::Transpose() {
    for (int r = 0; r < 4; ++r)
        for (int c = r + 1; c < 4; ++c) std::swap(m[r][c], m[c][r]);
}

// Column operations turn a into the identity; the same operations applied to the identity give
// the inverse. Pivots are searched along the row, the first largest magnitude winning. All
// arithmetic is single precision (the game's FPU carried more bits, so the last bits may differ).
void Matrix44::Inverse() {
    Matrix44 a = *this;
    Matrix44 b;
    b.Identity();
    for (int i = 0; i < 4; ++i) {
        int p = i;
        for (int j = i + 1; j < 4; ++j) {
            if (std::fabs(static_cast<double>(a.m[i][j])) >
                std::fabs(static_cast<double>(a.m[i][p])))
                p = j;
        }
        if (a.m[i][p] == 0.0f) {
            Identity();
            return;
        }
        if (p != i) {
            for (int k = 0; k < 4; ++k) {
                std::swap(a.m[k][i], a.m[k][p]);
                std::swap(b.m[k][i], b.m[k][p]);
            }
        }
        const float f = a.m[i][i];
        for (int k = 0; k < 4; ++k) {
            a.m[k][i] /= f;
            b.m[k][i] /= f;
        }
        for (int j = 0; j < 4; ++j) {
            if (j == i) continue;
            const float g = a.m[i][j];
            for (int k = 0; k < 4; ++k) {
                a.m[k][j] -= g * a.m[k][i];
                b.m[k][j] -= g * b.m[k][i];
            }
        }
    }
    *this = b;
}

void Matrix44::RigidInverse() {
    const Matrix44 o = *this;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) m[r][c] = o.m[c][r];
        m[r][3] = 0.0f;
        m[3][r] = -(o.m[r][0] * o.m[3][0] + o.m[r][1] * o.m[3][1] + o.m[r][2] * o.m[3][2]);
    }
    m[3][3] = 1.0f;
}

void Matrix44::Multiply(const Matrix44& b) {
    Product(*this, *this, b);
}

// Computed into a temporary so that out may be either operand.
void Matrix44::Product(Matrix44& out, const Matrix44& a, const Matrix44& b) {
    Matrix44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    out = r;
}

void Matrix44::RotationAxis(char axis, float angle) {
    const float s = TaylorSin(angle);
    const float c = TaylorCos(angle);
    auto rows = [this](float a, float b, float cc, float d, float e, float f, float g, float h,
                       float k) {
        m[0][0] = a, m[0][1] = b, m[0][2] = cc;
        m[1][0] = d, m[1][1] = e, m[1][2] = f;
        m[2][0] = g, m[2][1] = h, m[2][2] = k;
    };
    switch (axis) {
        case 'X':
        case 'x':
            rows(1, 0, 0, 0, c, s, 0, -s, c);
            break;
        case 'Y':
        case 'y':
            rows(c, 0, -s, 0, 1, 0, s, 0, c);
            break;
        case 'Z':
        case 'z':
            rows(c, s, 0, -s, c, 0, 0, 0, 1);
            break;
        default:
            break;
    }
    m[0][3] = m[1][3] = m[2][3] = 0.0f;
    m[3][0] = m[3][1] = m[3][2] = 0.0f;
    m[3][3] = 1.0f;
}

void Matrix44::RotationYawPitchRoll(float yaw, float pitch, float roll) {
    Matrix44 t;
    RotationAxis('Z', roll);
    t.RotationAxis('X', pitch);
    Multiply(t);
    t.RotationAxis('Y', yaw);
    Multiply(t);
}

void Matrix44::RotationEuler(const Vector3& v) {
    RotationYawPitchRoll(v.y, v.x, v.z);
}

void Matrix44::RotationQuaternion(const Quaternion& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    Identity();
    m[0][0] = 1 - 2 * (y * y + z * z);
    m[0][1] = 2 * (x * y - w * z);
    m[0][2] = 2 * (x * z + w * y);
    m[1][0] = 2 * (x * y + w * z);
    m[1][1] = 1 - 2 * (x * x + z * z);
    m[1][2] = 2 * (y * z - w * x);
    m[2][0] = 2 * (x * z - w * y);
    m[2][1] = 2 * (y * z + w * x);
    m[2][2] = 1 - 2 * (x * x + y * y);
}

void Matrix44::Translation(float x, float y, float z) {
    Identity();
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
}

void Matrix44::Translation(const Vector3& v) {
    Translation(v.x, v.y, v.z);
}

void Matrix44::Scaling(float x, float y, float z, float w) {
    Identity();
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    m[3][3] = w;
}

void Matrix44::Scaling(const Vector3& v) {
    Scaling(v.x, v.y, v.z, 1.0f);
}

void Matrix44::LookAt(const Vector3& eye, const Vector3& at, const Vector3& up) {
    Vector3 z = at;
    z.Sub(eye);
    z.Normalize();
    Vector3 x;
    Vector3::Cross(x, up, z);
    x.Normalize();
    Vector3 y;
    Vector3::Cross(y, z, x);
    const float rows[4][4] = {
        {x.x, y.x, z.x, 0.0f},
        {x.y, y.y, z.y, 0.0f},
        {x.z, y.z, z.z, 0.0f},
        {-Vector3::Dot(x, eye), -Vector3::Dot(y, eye), -Vector3::Dot(z, eye), 1.0f}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = rows[r][c];
}

void Matrix44::FaceTowards(const Vector3& from, const Vector3& to, const Vector3& position) {
    LookAt(from, to, Vector3{0.0f, 1.0f, 0.0f});
    Inverse();
    m[3][0] = position.x;
    m[3][1] = position.y;
    m[3][2] = position.z;
}

void Matrix44::PlanarProjection(const Vector3& d) {
    const float dy = d.y == 0.0f ? 1.0f : d.y;
    Identity();
    m[1][0] = -d.x / dy;
    m[1][1] = 0.0f;
    m[1][2] = -d.z / dy;
}
