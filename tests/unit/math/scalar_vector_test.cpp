#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math_test_util.h"

// The polynomials are only as good as their truncation: about 0.0069 (sine) and 0.024 (cosine)
// at the ends of [-pi, pi], far less near zero. Wrong coefficients, a missing turn in the range
// reduction or a reduction with the wrong sign all break these bounds.
TEST(TaylorTrig, StaysWithinThePolynomialErrorFromMinus20To20) {
    double sinMax = 0, cosMax = 0, sinNear = 0, cosNear = 0;
    for (int i = -20000; i <= 20000; ++i) {
        const float a = i * 0.001f;
        const double es = std::fabs(TaylorSin(a) - std::sin(static_cast<double>(a)));
        const double ec = std::fabs(TaylorCos(a) - std::cos(static_cast<double>(a)));
        sinMax = std::max(sinMax, es);
        cosMax = std::max(cosMax, ec);
        if (std::fabs(a) <= 1.5708f)
            sinNear = std::max(sinNear, es), cosNear = std::max(cosNear, ec);
    }
    EXPECT_LT(sinMax, 0.0072);
    EXPECT_LT(cosMax, 0.025);
    EXPECT_LT(sinNear, 5e-6);
    EXPECT_LT(cosNear, 3e-5);
}

TEST(TaylorTrig, ReductionStartsAbovePiIsSymmetricAndCopesWithHugeAngles) {
    // 3.14159 itself is not reduced: the polynomial overshoots to a small positive value there;
    // the next float up is reduced to about -3.14159, where it has the opposite sign.
    EXPECT_GT(TaylorSin(3.14159f), 0.006f);
    EXPECT_LT(TaylorSin(std::nextafter(3.14159f, 4.0f)), -0.006f);
    EXPECT_EQ(TaylorSin(4.0f), TaylorSin(4.0f - 6.28318f));
    EXPECT_NEAR(TaylorSin(-4.0f), -TaylorSin(4.0f), 1e-6f);
    EXPECT_EQ(TaylorCos(-17.5f), TaylorCos(17.5f));
    // More turns than an int can count: still reduced into [-pi, pi], so still a sine.
    for (float a : {1e10f, -1e10f, 3e38f, -3e38f}) {
        EXPECT_LE(std::fabs(TaylorSin(a)), 1.01f) << a;
        EXPECT_LE(std::fabs(TaylorCos(a)), 1.03f) << a;
    }
    EXPECT_TRUE(std::isnan(TaylorSin(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(TaylorCos(std::numeric_limits<float>::infinity())));
}

TEST(Vector3Ops, ZerosStayZeroAndProductsMayOverwriteAnOperand) {
    Vector3 zero;
    Quaternion zeroQ, q{1, 2, 3, 4};
    zero.Normalize();
    zeroQ.Normalize();
    EXPECT_TRUE(Near(zero, Vector3{0, 0, 0}, 0));
    EXPECT_TRUE(Near(zeroQ, Quaternion{0, 0, 0, 0}, 0));
    q.Multiply(q);
    EXPECT_TRUE(Near(q, Quaternion{8, 16, 24, 2}, 0));  // (2 w v, w^2 - |v|^2)
    Vector3 a{1, 2, 3}, b{-4, 5, 0.5f}, expect;
    Vector3::Cross(expect, a, b);
    Vector3::Cross(a, a, b);
    EXPECT_TRUE(Near(a, expect, 0));
    Vector3::Cross(a, Vector3{1, 0, 0}, Vector3{0, 1, 0});
    EXPECT_TRUE(Near(a, Vector3{0, 0, 1}, 0));
}

TEST(Vector3Ops, HermiteHitsEndsWithTheGivenTangents) {
    const Vector3 p0{0, 1, 2}, p1{4, -1, 2}, t0{1, 0, 0}, t1{0, 5, -3};
    const float h = 1e-3f;
    Vector3 start, end, a, b;
    Vector3::Hermite(start, p0, p1, t0, t1, 0);
    Vector3::Hermite(end, p0, p1, t0, t1, 1);
    Vector3::Hermite(a, p0, p1, t0, t1, h);
    Vector3::Hermite(b, p0, p1, t0, t1, 1 - h);
    EXPECT_TRUE(Near(start, p0, 0));
    EXPECT_TRUE(Near(end, p1, 1e-6f));
    EXPECT_TRUE(Near(Vector3{(a.x - p0.x) / h, (a.y - p0.y) / h, (a.z - p0.z) / h}, t0, 0.02f));
    EXPECT_TRUE(Near(Vector3{(p1.x - b.x) / h, (p1.y - b.y) / h, (p1.z - b.z) / h}, t1, 0.02f));
}

TEST(Vector3Ops, RotateMatchesTheQuaternionMatrix) {
    MathRandom rnd;
    for (int i = 0; i < 200; ++i) {
        const Quaternion q = rnd.UnitQuaternion();
        const Vector3 v{rnd.Uniform(-10, 10), rnd.Uniform(-10, 10), rnd.Uniform(-10, 10)};
        Matrix44 m;
        m.RotationQuaternion(q);
        Vector3 byMatrix = v, byQuat = v;
        byMatrix.Transform(m);
        byQuat.Rotate(q);
        ASSERT_TRUE(Near(byQuat, byMatrix, 1e-4f)) << i;
    }
    // A right-handed quarter turn about +y, read by Rotate as its inverse: +x goes to +z.
    const float s = std::sqrt(0.5f);
    Vector3 v{1, 0, 0};
    v.Rotate(Quaternion{0, s, 0, s});
    EXPECT_TRUE(Near(v, Vector3{0, 0, 1}, 1e-6f));
}
