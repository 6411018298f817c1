#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "math/math_scalar.h"
#include "math/matrix44.h"

inline std::vector<float> Elements(const Vector3& v) {
    return {v.x, v.y, v.z};
}
inline std::vector<float> Elements(const Quaternion& q) {
    return {q.x, q.y, q.z, q.w};
}
inline std::vector<float> Elements(const Matrix44& m) {
    return {&m.m[0][0], &m.m[0][0] + 16};
}

// Element-wise comparison that names the first element out of tolerance.
template <class T>
::testing::AssertionResult Near(const T& a, const T& b, float tol) {
    const std::vector<float> x = Elements(a), y = Elements(b);
    for (size_t i = 0; i < x.size(); ++i)
        if (!(std::fabs(x[i] - y[i]) <= tol))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << x[i] << " vs " << y[i];
    return ::testing::AssertionSuccess();
}

inline Matrix44 Identity44() {
    Matrix44 m;
    m.Identity();
    return m;
}

// Fixed-seed source of angles and unit quaternions for the property checks.
struct MathRandom {
    std::mt19937 gen{12345};
    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(gen); }
    Quaternion UnitQuaternion() {
        Quaternion q{Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
        q.Normalize();
        return q;
    }
};
