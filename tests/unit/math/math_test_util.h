#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "math/matrix44.h"

// Element-wise comparison with a report of the first differing element.
inline ::testing::AssertionResult MatrixNear(const Matrix44& a, const Matrix44& b, float tol) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::abs(a.m[r][c] - b.m[r][c]) <= tol))
                return ::testing::AssertionFailure()
                       << "m[" << r << "][" << c << "]: " << a.m[r][c] << " vs " << b.m[r][c];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult VectorNear(const Vector3& a, const Vector3& b, float tol) {
    if (std::abs(a.x - b.x) <= tol && std::abs(a.y - b.y) <= tol && std::abs(a.z - b.z) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

inline ::testing::AssertionResult QuatNear(const Quaternion& a, const Quaternion& b, float tol) {
    if (std::abs(a.x - b.x) <= tol && std::abs(a.y - b.y) <= tol && std::abs(a.z - b.z) <= tol &&
        std::abs(a.w - b.w) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w << ") vs (" << b.x << ", "
           << b.y << ", " << b.z << ", " << b.w << ")";
}

inline Matrix44 IdentityMatrix44() {
    Matrix44 m;
    m.Identity();
    return m;
}

// Deterministic random unit quaternions and angles for the property checks.
struct MathRandom {
    std::mt19937 gen{12345};
    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(gen); }
    Quaternion UnitQuaternion() {
        Quaternion q{Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
        q.Normalize();
        return q;
    }
};
