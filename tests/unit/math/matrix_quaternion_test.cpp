#include <gtest/gtest.h>

#include <cmath>

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

// v turned by the matrix without its translation.
Vector3 TurnedBy(const Matrix44& m, Vector3 v) {
    v.Transform(m);
    return Vector3{v.x - m.m[3][0], v.y - m.m[3][1], v.z - m.m[3][2]};
}

}  // namespace

TEST(Matrix44Inverse, UndoesWellConditionedMatricesAndTheRigidShortcutAgrees) {
    MathRandom rnd;
    for (int i = 0; i < 100; ++i) {
        Matrix44 m, rigid = RandomRigid(rnd), general = rigid;
        m.Scaling(rnd.Uniform(0.5f, 2), rnd.Uniform(0.5f, 2), rnd.Uniform(0.5f, 2), 1);
        m = Mul(m, rigid);
        for (auto& row : m.m)
            for (float& e : row) e += rnd.Uniform(-0.1f, 0.1f);
        Matrix44 inv = m;
        inv.Inverse();
        ASSERT_TRUE(Near(Mul(m, inv), Identity44(), 1e-3f)) << i;
        general.Inverse();
        rigid.RigidInverse();
        ASSERT_TRUE(Near(rigid, general, 1e-4f)) << i;
    }
    // Zeros on the diagonal need the column swaps.
    Matrix44 p{{{0, 2, 0, 0}, {0, 0, 0, 3}, {4, 0, 0, 0}, {0, 0, 5, 0}}}, inv = p;
    inv.Inverse();
    EXPECT_TRUE(Near(Mul(p, inv), Identity44(), 1e-6f));
}

TEST(Matrix44Inverse, SingularMatricesBecomeTheIdentity) {
    // A zero row, and a second row twice the first: the elimination meets an exact zero pivot.
    for (Matrix44 m : {Matrix44{{{0, 0, 0, 0}, {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 1, 2, 3}}},
                       Matrix44{{{1, 2, 0, 0}, {2, 4, 0, 0}, {0, 0, 1, 0}, {7, 8, 9, 1}}}}) {
        m.Inverse();
        EXPECT_TRUE(Near(m, Identity44(), 0));
    }
}

TEST(Matrix44Ops, ProductsMayWriteOverAnOperand) {
    MathRandom rnd;
    const Matrix44 a = RandomRigid(rnd), b = RandomRigid(rnd), ab = Mul(a, b);
    Matrix44 x = a, y = b, sq = a;
    Matrix44::Product(x, x, b);
    Matrix44::Product(y, a, y);
    sq.Multiply(sq);
    EXPECT_TRUE(Near(x, ab, 0));
    EXPECT_TRUE(Near(y, ab, 0));
    EXPECT_TRUE(Near(sq, Mul(a, a), 0));
}

TEST(Matrix44Ops, AxisRotationsFollowTheGameConventions) {
    Matrix44 upper, lower, other, ypr, euler;
    upper.RotationAxis('Y', 0.7f);
    lower.RotationAxis('y', 0.7f);
    // A facing angle f points along (sin f, cos f) on the ground, whatever the axis letter's case.
    EXPECT_TRUE(Near(TurnedBy(lower, {0, 0, 1}), Vector3{TaylorSin(0.7f), 0, TaylorCos(0.7f)}, 0));
    EXPECT_TRUE(Near(upper, lower, 0));
    // An unknown axis keeps the rotation block but still clears row and column 3.
    for (auto& row : other.m)
        for (float& e : row) e = 9;
    other.RotationAxis('w', 1.0f);
    EXPECT_TRUE(Near(other, Matrix44{{{9, 9, 9, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}, {0, 0, 0, 1}}}, 0));
    // Roll, then pitch, then yaw: +z pitched down to -y is not moved by the yaw.
    ypr.RotationYawPitchRoll(kPi / 2, kPi / 2, 0);
    EXPECT_TRUE(Near(TurnedBy(ypr, {0, 0, 1}), Vector3{0, -1, 0}, 1e-4f));
    euler.RotationEuler(Vector3{0.3f, -1.1f, 0.8f});
    ypr.RotationYawPitchRoll(-1.1f, 0.3f, 0.8f);
    EXPECT_TRUE(Near(euler, ypr, 0));
}

// Within +-1.5 rad the full-angle polynomials are accurate to a few millionths, so the matrix
// and the half-angle quaternion must agree closely (beyond that their sine errors differ).
TEST(Matrix44Ops, QuaternionAndMatrixYawPitchRollAgree) {
    MathRandom rnd;
    for (int i = 0; i < 200; ++i) {
        const float yaw = rnd.Uniform(-1.5f, 1.5f), pitch = rnd.Uniform(-1.5f, 1.5f),
                    roll = rnd.Uniform(-1.5f, 1.5f);
        Matrix44 direct, viaQuat;
        Quaternion q;
        direct.RotationYawPitchRoll(yaw, pitch, roll);
        q.RotationYawPitchRoll(yaw, pitch, roll);
        viaQuat.RotationQuaternion(q);
        ASSERT_TRUE(Near(direct, viaQuat, 1e-4f)) << yaw << " " << pitch << " " << roll;
    }
}

TEST(Matrix44Ops, LookAtPutsTheEyeAtTheOriginAndTheTargetOnPlusZ) {
    const Vector3 eye{100, 50, -300}, at{400, -20, -900};
    Vector3 dir = at, e = eye, t = at, above{100, 60, -300};
    dir.Sub(eye);
    Matrix44 view, world;
    view.LookAt(eye, at, Vector3{0, 1, 0});
    e.Transform(view);
    t.Transform(view);
    above.Transform(view);
    EXPECT_TRUE(Near(e, Vector3{0, 0, 0}, 1e-3f));
    EXPECT_TRUE(Near(t, Vector3{0, 0, dir.Length()}, 1e-3f));
    EXPECT_GT(above.y, 0);
    // The object version faces along eye -> at and stands at the given position.
    world.FaceTowards(eye, at, Vector3{1, 2, 3});
    dir.Normalize();
    EXPECT_TRUE(Near(TurnedBy(world, {0, 0, 1}), dir, 1e-5f));
    EXPECT_TRUE(Near(Vector3{world.m[3][0], world.m[3][1], world.m[3][2]}, Vector3{1, 2, 3}, 0));
    // Looking from a point at itself has no direction: no rotation rather than NaNs.
    Matrix44 expect;
    expect.Translation(1, 2, 3);
    world.FaceTowards(eye, eye, Vector3{1, 2, 3});
    EXPECT_TRUE(Near(world, expect, 0));
}

TEST(Matrix44Ops, PlanarProjectionFlattensAlongTheDirection) {
    Matrix44 shadow;
    shadow.PlanarProjection(Vector3{1, -2, 3});
    Vector3 p{5, 4, 7};
    p.Transform(shadow);
    EXPECT_TRUE(Near(p, Vector3{7, 0, 13}, 1e-6f));
    // A level direction would divide by zero; 1 stands in for d.y.
    shadow.PlanarProjection(Vector3{2, 0, 3});
    Matrix44 expect = Identity44();
    expect.m[1][0] = -2, expect.m[1][1] = 0, expect.m[1][2] = -3;
    EXPECT_TRUE(Near(shadow, expect, 0));
}

TEST(QuaternionOps, SlerpEndsAndShorterArc) {
    MathRandom rnd;
    for (int i = 0; i < 100; ++i) {
        const Quaternion a = rnd.UnitQuaternion(), b = rnd.UnitQuaternion();
        const float k = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0 ? -1.0f : 1.0f;
        Quaternion start, end;
        Quaternion::Slerp(start, a, b, 0);
        Quaternion::Slerp(end, a, b, 1);
        ASSERT_TRUE(Near(start, a, 1e-5f)) << i;
        ASSERT_TRUE(Near(end, Quaternion{k * b.x, k * b.y, k * b.z, k * b.w}, 1e-5f)) << i;
    }
    // A rotation and its negation are the same rotation: the blend stays at the first.
    Quaternion a = rnd.UnitQuaternion(), out;
    Quaternion::Slerp(out, a, Quaternion{-a.x, -a.y, -a.z, -a.w}, 0.3f);
    EXPECT_TRUE(Near(out, a, 1e-6f));
}

TEST(QuaternionOps, SlerpSwitchesToTheLinearBlendAtDot095) {
    const Quaternion a{0, 0, 0, 1};
    const float t = 0.25f;
    auto end = [](float d) { return Quaternion{0, 0, std::sqrt(1 - d * d), d}; };
    auto exact = [&](float d) {  // true spherical interpolation from a to end(d)
        const double th = std::acos(static_cast<double>(d)), k = std::sin(t * th) / std::sin(th);
        return Quaternion{0, 0, static_cast<float>(k * end(d).z),
                          static_cast<float>(std::sin((1 - t) * th) / std::sin(th) + k * d)};
    };
    Quaternion out, blend;
    Quaternion::Slerp(out, a, end(0.949f), t);
    Quaternion::NLerp(blend, a, end(0.949f), t);
    EXPECT_TRUE(Near(out, exact(0.949f), 1e-5f));
    EXPECT_FALSE(Near(out, blend, 2e-4f));
    Quaternion::Slerp(out, a, end(0.95f), t);
    Quaternion::NLerp(blend, a, end(0.95f), t);
    EXPECT_TRUE(Near(out, blend, 0));
    EXPECT_FALSE(Near(out, exact(0.95f), 2e-4f));
}
