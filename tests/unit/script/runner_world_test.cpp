#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "app/shell.h"
#include "gfx/texture_slots.h"
#include "math/math_scalar.h"
#include "runner_test_util.h"

namespace {
constexpr float kEps = 1e-4f;
float Deg(float d) {
    return d * kDegToRad;
}
}  // namespace

TEST_F(RunnerTest, CharacterTransforms) {
    s.iv[0] = 2;
    Run("c6 -1,3,90,=c6 -1,0,10,=c6 -1,0,5,+c6 -1,7,2,=c6 -1,9,1.9,=c6 -1,9,1.5,+c6 -1,2,4,?;");
    const Character& c = g_Characters[2];
    EXPECT_NEAR(c.rotation.x, 1.5708f, kEps);
    // Active: 1 (truncated), then 1 + 1.5 truncated.
    EXPECT_EQ(std::tuple(c.position.x, c.scale.y, c.active), std::tuple(15.0f, 2.0f, 2));
    Run("c6 2,11,0,+;");
    EXPECT_EQ(std::tuple(c.position.x, c.rotation.x, c.scale.y, Reports()),
              std::tuple(0.0f, 0.0f, 1.0f, 0u));
    // Only -1 names iv[0]; -2 and numbers past the table are reported and ignored.
    Run("c6 -2,0,1,=c6 20,0,1,=;");
    EXPECT_EQ(Reports(), 2u);

    // Copies, and values read back into the float variables.
    g_Characters[4].position = Vector3{1, 2, 3};
    g_Characters[4].rotation = Vector3{0.5f, 0.25f, 0.125f};
    s.iv[0] = 5;
    s.iv[1] = 4;
    Run("c30 -1,-2,0,c30 5,4,1,c18 0,0,c18 1,1,c18 5,4,;");
    // No model: no head height.
    EXPECT_EQ(std::tuple(g_Characters[5].position.z, g_Characters[5].rotation.y, s.fv[0], s.fv[1]),
              std::tuple(3.0f, 0.25f, 1.0f, 2.0f));
}

TEST_F(RunnerTest, CameraMembers) {
    s.iv[0] = 1;
    g_Characters[1].position = Vector3{100, 0, 200};
    Run("c8 1,c7 6,0.5,a0c7 7,10,a1;");
    EXPECT_FLOAT_EQ(g_Camera.target.x, 100.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 2010.0f);
    // The eye went back on the orbit after the last change.
    EXPECT_NEAR(g_Camera.eye.x, 100.0f + std::sin(0.5f) * 2010.0f, 0.5f);
    Run("c21 3,c9 1,c31 2,;");
    EXPECT_EQ(std::tuple(g_Camera.keyIndex, g_ResumeScriptAfterFade), std::tuple(3, 1));
}

TEST_F(RunnerTest, FieldObjectFields) {
    s.iv[0] = 3;
    s.iv[2] = 77;
    FieldObject& o = g_FieldObjects[3];
    Run("c22 0,2.7,?c22 1,255,+c22 2,5,=c22 2,1,+c22 6,1.5,=c22 10,3,+c22 4,9,?;");
    // The rotation in radians as given.
    EXPECT_EQ(std::tuple(o.kind, o.colour, o.position.x, o.rotation.y, o.scale.z),
              std::tuple(2, 255u, 6.0f, 1.5f, 4.0f));
    Run("c22 12,-3,=;");
    EXPECT_FLOAT_EQ(o.position.x, 77.0f);
    s.iv[0] = kFieldObjectCount;
    Run("c22 0,1,=;");
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(RunnerTest, BillboardFields) {
    // A plain number s addresses billboard s + 1; a reference the billboard it yields.
    Run("c23 0,1,5,=c23 0,7,2,=c23 0,8,3,=c23 0,9,100,=c23 0,9,20.7,+c23 0,16,3,=c23 0,6,1,=;");
    Billboard& b = g_Billboards[1];
    EXPECT_EQ(std::tuple(b.position.x, b.widthScale, b.alpha), std::tuple(5.0f, 2.0f, 120));
    Run("c23 0,0,2,=c23 0,0,3,+;");
    EXPECT_EQ(b.image, &g_TextureSlots[kBillboardFirstSlot + 2 + 3]);

    // Speaker placement: half the height (64 x 3) below the speaker.
    s.iv[1] = 7;
    g_Characters[7].position = Vector3{10, 200, 30};
    Run("c23 0,13,0,=;");
    EXPECT_EQ(std::tuple(b.position.y, b.position.z), std::tuple(200.0f - 96.0f, 30.0f));
    Run("c23 0,17,2,=c23 0,3,0,=c23 0,17,1,=;");  // 17 with a value other than 0 or 1 does nothing
    EXPECT_FLOAT_EQ(b.position.z, 30.0f);
    s.iv[3] = 1;
    Run("c23 -4,14,0,=c23 -4,15,0,=;");
    EXPECT_EQ(std::tuple(b.alpha, b.position.y, Reports()), std::tuple(255, -32.0f, 0u));

    // Past the tables: billboard 24, texture slot 64, an image moved from no image.
    Run("c23 23,1,1,=c23 0,0,58,=c23 1,0,1,+;");
    EXPECT_EQ(Reports(), 3u);
}

TEST_F(RunnerTest, TextureSeriesStaysInsideTheTable) {
    // A missing file leaves the slot empty; the series stops at the table's end with a report.
    s.iv[0] = 3;
    Run("c24 56,nosuch_//;");
    EXPECT_STREQ(s.str, "nosuch_");
    EXPECT_EQ(Reports(), 1u);
    s.iv[0] = 1000000000;
    Run("  c24 0,many_//;");  // another position: reported again
    EXPECT_EQ(Reports(), 2u);
    s.iv[0] = 0;
    Run("c24 0,none_//c24 -1,one//;");
    EXPECT_EQ(Reports(), 2u);
}

TEST_F(RunnerTest, HeadingPerQuadrant) {
    EXPECT_FLOAT_EQ(Heading(0, 0, 0, 0), 0.0f);
    EXPECT_NEAR(Heading(0, -1, 0, 0), Deg(180), kEps);
    EXPECT_NEAR(Heading(1, 0, 0, 0), Deg(90), kEps);
    EXPECT_NEAR(Heading(1, 1, 0, 0), Deg(45), kEps);
    EXPECT_NEAR(Heading(-1, -1, 0, 0), Deg(225), kEps);
    // Inside a quadrant it agrees with atan2 brought into 0..360 degrees.
    EXPECT_NEAR(Heading(5, 10, 2, 6), std::atan2(3.0f, 4.0f), kEps);
    EXPECT_NEAR(Heading(-3, 2, 0, 6), std::atan2(-3.0f, -4.0f) + 2 * 3.14159265f, 1e-3f);
}

TEST_F(RunnerTest, TurnTowardAddsHalfTurnEachCall) {
    g_Characters[0].position = Vector3{10, 0, 0};
    g_Characters[1].position = Vector3{0, 0, 0};
    s.iv[1] = 1;
    Run("c32 0,-2,2,;");  // h = 90 degrees; r = 0 + 90/2 + 180
    EXPECT_NEAR(g_Characters[0].rotation.y, Deg(45) + kPi, kEps);
    EXPECT_EQ(s.iv[2], 0);
    g_Characters[0].rotation.y = Deg(80) - kPi;
    Run("c32 0,1,1000000,;");  // nearly no turn: d is about 10 degrees
    EXPECT_EQ(s.iv[2], 1);
    Run("c32 0,1,0,c32 0,25,1,;");
    EXPECT_EQ(Reports(), 2u);
}

TEST_F(RunnerTest, ApproachStepsAndArrives) {
    g_FrameTime = 10;
    s.iv[0] = 0;
    s.iv[1] = 1;
    g_Characters[0].position = Vector3{0, 0, 100};
    g_Characters[1].position = Vector3{0, 0, 0};
    g_Characters[1].collisionSize = 50;
    Run("c33 0,;");
    EXPECT_EQ(s.iv[2], 1);
    EXPECT_NEAR(g_Characters[0].position.z, 90.0f, 1e-3f);
    EXPECT_NEAR(g_Characters[0].rotation.y, Deg(180), kEps);
    g_FrameTime = 45;
    Run("c33 0,;");  // z 45: inside the square, placed on its edge
    EXPECT_EQ(s.iv[2], 0);
    EXPECT_NEAR(g_Characters[0].position.z, 50.0f, 1e-3f);
}

TEST_F(RunnerTest, SlotsOutsideTheirTablesAreReportedOnce) {
    s.iv[0] = kCharacterCount;
    Run("c11 10,x//c12 -1,c10 -1,0,1,c18 0,0,c25 -1,x//c27 -1,fld_//;");
    EXPECT_EQ(Reports(), 6u);
    Run("c11 10,x//c12 -1,c10 -1,0,1,c18 0,0,c25 -1,x//c27 -1,fld_//;");
    EXPECT_EQ(Reports(), 6u);
    // Reports name the script, the command's position and the command.
    EXPECT_EQ(BoxTexts()[0], "test:0: c11 load sound effect: sound slot 10 out of range");
}
