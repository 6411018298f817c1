#include <gtest/gtest.h>

#include <climits>

#include "model_test_util.h"

namespace {

RZ_KeyTrack Track(std::initializer_list<std::pair<int, float>> keys) {
    RZ_KeyTrack t;
    for (auto [frame, x] : keys) {
        t.AddKey(frame, Vector3{x, 0, 0}, Quaternion{0, 0, 0, 1}, Vector3{1, 1, 1});
    }
    t.Rewind();
    return t;
}

float OffsetX(const RZ_KeyTrack& t) {
    Vector3 p, s;
    Quaternion q;
    t.Evaluate(p, q, s);
    return p.x;
}

}  // namespace

TEST(RzKeyTrack, OneKeyTrackEndsAtOnceAndHoldsItsPoseAndPlayTimeSaturates) {
    RZ_KeyTrack t = Track({{4, 3}});
    EXPECT_TRUE(t.Advance(1));
    EXPECT_TRUE(t.Advance(100));
    EXPECT_EQ(t.segment, 1);
    EXPECT_FLOAT_EQ(OffsetX(t), 3);
    RZ_KeyTrack two = Track({{0, 0}, {1, 1}});
    two.Advance(INT_MAX);
    two.Advance(INT_MAX);
    EXPECT_EQ(two.time, INT_MAX);
    two.Advance(INT_MIN);
    EXPECT_EQ(two.time, 0);
}

TEST(RzKeyTrack, ForwardToTheEndThenBackOneKeyPerStep) {
    RZ_KeyTrack t = Track({{0, 0}, {10, 10}, {20, 30}});
    EXPECT_FALSE(t.Advance(15));
    EXPECT_EQ(t.keys[t.current].frame, 10);
    // The end is reported when the last key is reached; the time keeps running and the pose
    // stays on the last key.
    EXPECT_TRUE(t.Advance(10));
    EXPECT_EQ(t.current, 2u);
    EXPECT_TRUE(t.Advance(10));
    EXPECT_EQ(t.time, 35);
    EXPECT_FLOAT_EQ(OffsetX(t), 30);
    // A looping motion now plays backwards: one key back per call, however far the time goes.
    EXPECT_FALSE(t.Advance(-34));
    EXPECT_EQ(t.time, 1);
    EXPECT_EQ(t.current, 1u);
    EXPECT_FLOAT_EQ(OffsetX(t), 10);  // time below the current key: s clamps to 0
    EXPECT_TRUE(t.Advance(-5));       // below 0: back at the start, which also ends
    EXPECT_EQ(t.time, 0);
    EXPECT_EQ(t.current, 0u);
}

TEST(RzKeyTrack, EvaluatesHermitePositionsAndSlerpedRotations) {
    RZ_KeyTrack t;
    const Quaternion quarter = AxisAngle(0, 1, 0, 3.14159265f / 2);
    t.AddKey(0, Vector3{0, 0, 0}, Quaternion{0, 0, 0, 1}, Vector3{1, 1, 1});
    t.AddKey(10, Vector3{10, 0, 0}, quarter, Vector3{3, 1, 1});
    t.AddKey(20, Vector3{30, 0, 0}, quarter, Vector3{3, 1, 1});
    t.Rewind();
    t.Advance(5);
    Vector3 p, s;
    Quaternion q;
    t.Evaluate(p, q, s);
    // s = 0.5, tangents 10 and 20: 10/8 - 10/4 + 5 (a straight blend would give 5).
    EXPECT_NEAR(p.x, 3.75f, 1e-5);
    EXPECT_NEAR(s.x, 2.25f, 1e-5);  // tangents 2 and 0: -2/8 + 2/4 + 1 + 1
    const Quaternion eighth = AxisAngle(0, 1, 0, 3.14159265f / 4);
    EXPECT_NEAR(q.y, eighth.y, 1e-4);
    EXPECT_NEAR(q.w, eighth.w, 1e-4);
}

class RzAnimation : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        RZ_Model& m = *model;
        AddBone(m, 1, 0, Vector3{0, 10, 0});
        AddBone(m, 2, 1, Vector3{0, 20, 0});
        m.bones[1]->offset = Vector3{1, 2, 3};
        ASSERT_TRUE(m.CreateAnimation(5, "swing"));
        m.bones[1]->offset = Vector3{};
        // Bone 2 moves over 10 frames, bone 1 only has its frame-0 key.
        m.animations[5]->tracks[2]->AddKey(10, Vector3{4, 0, 0}, Quaternion{0, 0, 0, 1},
                                           Vector3{1, 1, 1});
        m.SetCurrentAnimation(5);
    }
};

TEST_F(RzAnimation, AdvanceEndsOnlyWhenEveryTrackHasEnded) {
    RZ_Model& m = *model;
    m.ResetAnimation();
    EXPECT_FALSE(m.AdvanceAnimation(5));
    EXPECT_EQ(m.animations[5]->tracks[2]->time, 5);
    EXPECT_EQ(m.GetAnimationTime(), 0);             // the root's one-key track does not move
    EXPECT_NEAR(m.bones[2]->offset.x, 2.5f, 1e-5);  // Hermite with tangents 4 and 0
    // On the last key the track has not ended yet; one frame past it, it has.
    EXPECT_FALSE(m.AdvanceAnimation(5));
    EXPECT_FLOAT_EQ(m.bones[2]->offset.x, 4.0f);
    // A bone made after the animation has no track: it keeps its pose and does not block.
    AddBone(m, 3, 0, Vector3{}).offset = Vector3{9, 9, 9};
    EXPECT_TRUE(m.AdvanceAnimation(1));
    EXPECT_VEC_NEAR(m.bones[3]->offset, 9, 9, 9, 0);
}

TEST_F(RzAnimation, BoneTransformsFollowTheParentButNotTheRoot) {
    RZ_Model& m = *model;
    m.bones[0]->offset = Vector3{100, 0, 0};
    m.bones[0]->rotation = AxisAngle(0, 0, 1, 1.0f);
    m.bones[1]->rotation = AxisAngle(0, 1, 0, 3.14159265f / 2);
    m.bones[1]->scale = Vector3{2, 2, 2};
    m.bones[1]->offset = Vector3{0, 1, 0};
    m.bones[2]->offset = Vector3{1, 0, 0};
    m.UpdateBoneTransforms();
    const RZ_Bone& b1 = *m.bones[1];
    const RZ_Bone& b2 = *m.bones[2];
    EXPECT_VEC_NEAR(b1.worldPosition, 0, 11, 0, 1e-5);  // origin + offset, root ignored
    // (origin 2 - origin 1 + offset) scaled by 2, turned a quarter about y, moved to bone 1.
    Vector3 expected{2, 20, 0};
    expected.Rotate(b1.worldRotation);
    expected.Add(b1.worldPosition);
    EXPECT_VEC_NEAR(b2.worldPosition, expected.x, expected.y, expected.z, 1e-4);
    EXPECT_NEAR(std::fabs(expected.x), 0, 1e-4);
    EXPECT_NEAR(std::fabs(expected.z), 2, 1e-4);
    EXPECT_VEC_NEAR(b2.worldScale, 2, 2, 2, 0);

    // Child lists that loop back (or name empty slots) do not hang.
    m.bones[2]->children[0] = 1;
    m.bones[2]->children[1] = 2;
    m.bones[1]->children[7] = 31;
    m.UpdateBoneTransforms();
    EXPECT_VEC_NEAR(m.bones[1]->worldPosition, 0, 11, 0, 1e-5);
}

TEST_F(RzAnimation, SkinningByBindingAndWeight) {
    RZ_Model& m = *model;
    m.vertices.resize(4);
    m.vertices[0] = RZ_Vertex{Vector3{1, 2, 3}, 0, 2, 0.0f};  // unbound: bone1 is ignored
    m.vertices[1] = RZ_Vertex{Vector3{0, 10, 0}, 1, 2, 1.0f};
    m.vertices[2] = RZ_Vertex{Vector3{0, 10, 0}, 1, 2, 0.0f};
    m.vertices[3] = RZ_Vertex{Vector3{0, 10, 0}, 1, 2, 0.25f};
    m.bones[0]->offset = Vector3{50, 50, 50};
    m.bones[1]->offset = Vector3{8, 0, 0};
    m.bones[2]->offset = Vector3{0, 0, 16};
    m.UpdateSkin();
    EXPECT_VEC_NEAR(m.skinned[0], 1, 2, 3, 0);
    EXPECT_VEC_NEAR(m.skinned[1], 8, 10, 0, 0);      // exactly bone 0's result
    EXPECT_VEC_NEAR(m.skinned[2], 8, 10, 16, 1e-5);  // bone 2 at (8, 20, 16), vertex 10 below
    EXPECT_VEC_NEAR(m.skinned[3], 8, 10, 12, 1e-5);
}

TEST_F(RzAnimation, NormalsComeFromVisibleTrianglesAndQuadsOnly) {
    RZ_Model& m = *model;
    m.vertices.resize(5);
    const Vector3 at[5] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {1, 0, 1}, {5, 5, 5}};
    for (int i = 0; i < 5; ++i) m.vertices[i].position = at[i];
    m.meshes.resize(2);
    RZ_Face quad{4, {0, 1, 3, 2}, {}, {}, 0};
    RZ_Face edge{2, {4, 0}, {}, {}, 0};
    RZ_Face tilted{3, {4, 0, 1}, {}, {}, 0};
    m.meshes[0].faces = {quad, edge};
    m.meshes[1].faces = {tilted};
    m.meshes[1].visible = 0;
    m.UpdateSkin();
    m.UpdateNormals();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_VEC_NEAR(m.normals[i], 0, 1, 0, 1e-6);
    }
    EXPECT_VEC_NEAR(m.normals[4], 0, 0, 0, 0);  // only on an edge and an invisible face
}
