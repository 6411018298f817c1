#include <gtest/gtest.h>

#include <cmath>

#include "math/math_scalar.h"
#include "math_test_util.h"

namespace {

Matrix44 Mul(const Matrix44& a, const Matrix44& b) {
    Matrix44 r;
    Matrix44::Product(r, a, b);
    return r;
}

Matrix44 RandomRigid(MathRandom& rnd) {
    Matrix44 rot, move;
    rot.RotationQuaternion(rnd.UnitQuaternion());
    move.Translation(rnd.Uniform(-100, 100), rnd.Uniform(-100, 100), rnd.Uniform(-100, 100));
    return Mul(rot, move);
}

// Direction of the matrix's rotation part applied to v (no translation).
Vector3 TurnedBy(const Matrix44& m, const Vector3& v) {
    Vector3 a = v, o{0, 0, 0};
    a.Transform(m);
    o.Transform(m);
    a.Sub(o);
    return a;
}

}  // namespace

TEST(Matrix44Inverse, UndoesWellConditionedMatrices) {
    MathRandom rnd;
    for (int i = 0; i < 100; ++i) {
        Matrix44 scale;
        scale.Scaling(rnd.Uniform(0.5f, 2), rnd.Uniform(0.5f, 2), rnd.Uniform(0.5f, 2), 1);
        Matrix44 m = Mul(scale, RandomRigid(rnd));
        for (auto& row : m.m)
            for (float& e : row) e += rnd.Uniform(-0.1f, 0.1f);
        Matrix44 inv = m;
        inv.Inverse();
        ASSERT_TRUE(MatrixNear(Mul(m, inv), IdentityMatrix44(), 1e-3f)) << i;
        ASSERT_TRUE(MatrixNear(Mul(inv, m), IdentityMatrix44(), 1e-3f)) << i;
    }
    // Zeros on the diagonal need the column swaps.
    Matrix44 p{{{0, 2, 0, 0}, {0, 0, 0, 3}, {4, 0, 0, 0}, {0, 0, 5, 0}}};
    Matrix44 inv = p;
    inv.Inverse();
    EXPECT_TRUE(MatrixNear(Mul(p, inv), IdentityMatrix44(), 1e-6f));
}

TEST(Matrix44Inverse, SingularMatricesBecomeTheIdentity) {
    Matrix44 zeroRow{{{0, 0, 0, 0}, {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 1, 2, 3}}};
    zeroRow.Inverse();
    EXPECT_TRUE(MatrixNear(zeroRow, IdentityMatrix44(), 0));
    // The second row is twice the first: the elimination leaves an exact zero pivot.
    Matrix44 dependent{{{1, 2, 0, 0}, {2, 4, 0, 0}, {0, 0, 1, 0}, {7, 8, 9, 1}}};
    dependent.Inverse();
    EXPECT_TRUE(MatrixNear(dependent, IdentityMatrix44(), 0));
}

TEST(Matrix44Inverse, RigidInverseAgreesWithTheGeneralInverse) {
    MathRandom rnd;
    for (int i = 0; i < 100; ++i) {
        Matrix44 general = RandomRigid(rnd);
        Matrix44 rigid = general;
        general.Inverse();
        rigid.RigidInverse();
        ASSERT_TRUE(MatrixNear(rigid, general, 1e-4f)) << i;
    }
}

TEST(Matrix44Ops, ProductsMayWriteOverAnOperand) {
    MathRandom rnd;
    const Matrix44 a = RandomRigid(rnd), b = RandomRigid(rnd);
    const Matrix44 ab = Mul(a, b);
    Matrix44 x = a, y = b;
    Matrix44::Product(x, x, b);
    Matrix44::Product(y, a, y);
    EXPECT_TRUE(MatrixNear(x, ab, 0));
    EXPECT_TRUE(MatrixNear(y, ab, 0));
    Matrix44 sq = a;
    sq.Multiply(sq);
    EXPECT_TRUE(MatrixNear(sq, Mul(a, a), 0));
}

TEST(Matrix44Ops, AxisRotationsFollowTheGameConventions) {
    Matrix44 upper, lower, other;
    upper.RotationAxis('Y', 0.7f);
    lower.RotationAxis('y', 0.7f);
    EXPECT_TRUE(MatrixNear(upper, lower, 0));
    // A facing angle f points along (sin f, cos f) on the ground.
    EXPECT_TRUE(VectorNear(TurnedBy(upper, Vector3{0, 0, 1}),
                           Vector3{TaylorSin(0.7f), 0, TaylorCos(0.7f)}, 0));
    // An unknown axis keeps the rotation block but still clears row and column 3.
    for (auto& row : other.m)
        for (float& e : row) e = 9;
    other.RotationAxis('w', 1.0f);
    EXPECT_TRUE(
        MatrixNear(other, Matrix44{{{9, 9, 9, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}, {0, 0, 0, 1}}}, 0));
    // Roll, then pitch, then yaw: +z pitched down to -y is not moved by the yaw.
    Matrix44 ypr;
    ypr.RotationYawPitchRoll(kPi / 2, kPi / 2, 0);
    EXPECT_TRUE(VectorNear(TurnedBy(ypr, Vector3{0, 0, 1}), Vector3{0, -1, 0}, 1e-4f));
    Matrix44 euler;
    euler.RotationEuler(Vector3{0.3f, -1.1f, 0.8f});
    ypr.RotationYawPitchRoll(-1.1f, 0.3f, 0.8f);
    EXPECT_TRUE(MatrixNear(euler, ypr, 0));
}

// Within +-1.5 rad the full-angle polynomials are accurate to a few millionths, so the matrix
// and the half-angle quaternion must agree closely (beyond that their sine errors differ).
TEST(Matrix44Ops, QuaternionAndMatrixYawPitchRollAgree) {
    MathRandom rnd;
    for (int i = 0; i < 200; ++i) {
        const float yaw = rnd.Uniform(-1.5f, 1.5f), pitch = rnd.Uniform(-1.5f, 1.5f),
                    roll = rnd.Uniform(-1.5f, 1.5f);
        Matrix44 direct, viaQuat;
        direct.RotationYawPitchRoll(yaw, pitch, roll);
        Quaternion q;
        q.RotationYawPitchRoll(yaw, pitch, roll);
        viaQuat.RotationQuaternion(q);
        ASSERT_TRUE(MatrixNear(direct, viaQuat, 1e-4f)) << yaw << " " << pitch << " " << roll;
    }
}

TEST(Matrix44Ops, LookAtPutsTheEyeAtTheOriginAndTheTargetOnPlusZ) {
    const Vector3 eye{100, 50, -300}, at{400, -20, -900};
    Matrix44 view;
    view.LookAt(eye, at, Vector3{0, 1, 0});
    Vector3 e = eye, t = at, above = eye;
    e.Transform(view);
    t.Transform(view);
    above.Add(Vector3{0, 10, 0});
    above.Transform(view);
    Vector3 dist = at;
    dist.Sub(eye);
    EXPECT_TRUE(VectorNear(e, Vector3{0, 0, 0}, 1e-3f));
    EXPECT_TRUE(VectorNear(t, Vector3{0, 0, dist.Length()}, 1e-3f));
    EXPECT_GT(above.y, 0);

    // The object version faces along from -> to and stands at the given position.
    Matrix44 world;
    world.FaceTowards(eye, at, Vector3{1, 2, 3});
    dist.Normalize();
    EXPECT_TRUE(VectorNear(TurnedBy(world, Vector3{0, 0, 1}), dist, 1e-5f));
    EXPECT_TRUE(
        VectorNear(Vector3{world.m[3][0], world.m[3][1], world.m[3][2]}, Vector3{1, 2, 3}, 0));
    // Looking from a point at itself has no direction: no rotation rather than NaNs.
    world.FaceTowards(eye, eye, Vector3{1, 2, 3});
    Matrix44 expect;
    expect.Translation(1, 2, 3);
    EXPECT_TRUE(MatrixNear(world, expect, 0));
}

TEST(Matrix44Ops, PlanarProjectionFlattensAlongTheDirection) {
    Matrix44 shadow;
    shadow.PlanarProjection(Vector3{1, -2, 3});
    Vector3 p{5, 4, 7};
    p.Transform(shadow);
    EXPECT_TRUE(VectorNear(p, Vector3{7, 0, 13}, 1e-6f));
    // A level direction would divide by zero; 1 stands in for d.y.
    shadow.PlanarProjection(Vector3{2, 0, 3});
    for (auto& row : shadow.m)
        for (float e : row) EXPECT_TRUE(std::isfinite(e));
    EXPECT_EQ(shadow.m[1][0], -2.0f);
    EXPECT_EQ(shadow.m[1][2], -3.0f);
}

TEST(QuaternionOps, MultiplyNormalizeAndNLerp) {
    Quaternion q{1, 2, 3, 4}, copy{1, 2, 3, 4};
    Quaternion expect = q;
    expect.Multiply(copy);
    q.Multiply(q);
    EXPECT_TRUE(QuatNear(q, expect, 0));
    EXPECT_TRUE(QuatNear(q, Quaternion{8, 16, 24, 2}, 0));  // 4^2 - |v|^2 and 2 * 4 * v
    Quaternion zero;
    zero.Normalize();
    EXPECT_TRUE(QuatNear(zero, Quaternion{0, 0, 0, 0}, 0));
    Quaternion a{0, 0, 0, 1};
    Quaternion::NLerp(a, a, Quaternion{0, 1, 0, 0}, 0.5f);
    EXPECT_TRUE(QuatNear(a, Quaternion{0, std::sqrt(0.5f), 0, std::sqrt(0.5f)}, 1e-6f));
}

TEST(QuaternionOps, SlerpEndsAndShorterArc) {
    MathRandom rnd;
    for (int i = 0; i < 100; ++i) {
        const Quaternion a = rnd.UnitQuaternion(), b = rnd.UnitQuaternion();
        const float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
        const float sign = d < 0 ? -1.0f : 1.0f;
        Quaternion out;
        Quaternion::Slerp(out, a, b, 0);
        ASSERT_TRUE(QuatNear(out, a, 1e-5f)) << i;
        Quaternion::Slerp(out, a, b, 1);
        ASSERT_TRUE(
            QuatNear(out, Quaternion{sign * b.x, sign * b.y, sign * b.z, sign * b.w}, 1e-5f))
            << i;
    }
    // A rotation and its negation are the same rotation: the blend stays at the first.
    const Quaternion a = rnd.UnitQuaternion();
    for (float t : {0.0f, 0.3f, 1.0f}) {
        Quaternion out;
        Quaternion::Slerp(out, a, Quaternion{-a.x, -a.y, -a.z, -a.w}, t);
        EXPECT_TRUE(QuatNear(out, a, 1e-6f)) << t;
    }
}

TEST(QuaternionOps, SlerpSwitchesToTheLinearBlendAtDot095) {
    const Quaternion a{0, 0, 0, 1};
    const float t = 0.25f;
    auto ends = [](float d) { return Quaternion{0, 0, std::sqrt(1 - d * d), d}; };
    // True spherical interpolation between a and ends(d), for comparison.
    auto exact = [&](float d) {
        const double th = std::acos(static_cast<double>(d));
        const double k = std::sin(t * th) / std::sin(th);
        const Quaternion b = ends(d);
        return Quaternion{0, static_cast<float>(k * b.y), static_cast<float>(k * b.z),
                          static_cast<float>(std::sin((1 - t) * th) / std::sin(th) + k * b.w)};
    };
    Quaternion arc, blend, nl;
    Quaternion::Slerp(arc, a, ends(0.949f), t);
    Quaternion::NLerp(nl, a, ends(0.949f), t);
    EXPECT_TRUE(QuatNear(arc, exact(0.949f), 1e-5f));
    EXPECT_FALSE(QuatNear(arc, nl, 2e-4f));
    Quaternion::Slerp(blend, a, ends(0.95f), t);
    Quaternion::NLerp(nl, a, ends(0.95f), t);
    EXPECT_TRUE(QuatNear(blend, nl, 0));
    EXPECT_FALSE(QuatNear(blend, exact(0.95f), 2e-4f));
}
