// Ground height, walking against blocked cells and other characters, the camera that follows
// the leader, and the encounters a step sets off (place labels are run end to end).
#include <cmath>

#include "field_runtime_fixture.h"

namespace {

// A facing f walks along (sin f, cos f); rows grow toward -z.
const float kEast = 90.0f * kDegToRad;
const float kSouth = 180.0f * kDegToRad;
const float kSouthEast = 135.0f * kDegToRad;
constexpr float kCell = 1024.0f;

using GroundHeightTest = FieldRuntimeTest;
using MoveCharacterTest = FieldRuntimeTest;

TEST_F(GroundHeightTest, CornersDiagonalAndBothTriangles) {
    QFldInfo& f = Field();
    f.height[5][5] = 100;
    f.height[6][5] = 200;
    f.height[5][6] = 300;
    f.height[6][6] = 600;
    const float x0 = 5 * kCell, z0 = -5 * kCell;
    EXPECT_FLOAT_EQ(GroundHeight(x0 + kCell, z0), 200.0f);
    EXPECT_NEAR(GroundHeight(x0 + 1023.0f, z0 - 1023.0f), 600.0f, 1.0f);
    // On the diagonal from corner (6, 5) to corner (5, 6) only those two corners count.
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 256.0f, z0 - 768.0f), 275.0f);
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 256.0f, z0 - 256.0f), 175.0f);  // near triangle
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 768.0f, z0 - 768.0f), 425.0f);  // far triangle
}

TEST_F(GroundHeightTest, LastColumnAndRowStayInsideTheGrid) {
    QFldInfo& f = Field();
    // Right behind the height table: a read past corner 31 would find 0x4040 here.
    std::memset(f.cellFlags, 0x40, sizeof f.cellFlags);
    f.height[31][3] = f.height[31][4] = 500;
    EXPECT_FLOAT_EQ(GroundHeight(31 * kCell + 500.0f, -(3 * kCell + 100.0f)), 500.0f);
    f.height[30][31] = f.height[31][31] = 700;
    EXPECT_FLOAT_EQ(GroundHeight(30 * kCell + 700.0f, -(31 * kCell + 900.0f)), 700.0f);
    EXPECT_TRUE(std::isfinite(GroundHeight(-5000.0f, 40000.0f)));
    for (float v : {-1e9f, 3e38f, NAN}) (void)GroundHeight(v, -v);
}

TEST_F(MoveCharacterTest, BlockedCellsUndoEachAxisWithoutSliding) {
    const float x = 6 * kCell - 10.0f, z = -(6 * kCell - 10.0f);
    Place(0, x, z);
    Field().cellFlags[6][5] = kCellBlocked;
    // x into (6, 5) is undone; z is tested in the attempted column, cell (6, 6): free.
    MoveCharacter(0, 20.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    EXPECT_LT(Leader().position.z, z - 10.0f);
    // With (6, 6) blocked too nothing moves, although (5, 6) below the leader is free.
    Place(0, x, z);
    Field().cellFlags[6][6] = kCellBlocked | 3;
    MoveCharacter(0, 20.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    EXPECT_FLOAT_EQ(Leader().position.z, z);
}

TEST_F(MoveCharacterTest, OtherActiveCharactersBlock) {
    const float x = 5 * kCell + 100.0f, z = -(5 * kCell + 500.0f);
    Place(0, x, z);
    AddCharacter(1, x + 210.0f, z);
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    g_Characters[1].active = 0;  // free slots never block
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_NEAR(Leader().position.x, x + 16.0f, 0.01f);
    // Squares from (x, z) to (x + size, z - size); touching edges do not overlap.
    AddCharacter(2, Leader().position.x + 200.0f, z);
    EXPECT_EQ(CharactersOverlap(0, 2), 0);
    g_Characters[2].position.x -= 1.0f;
    EXPECT_EQ(CharactersOverlap(0, 2), 1);
}

TEST_F(MoveCharacterTest, NeverLeavesTheGridEvenWithAnOpenBorder) {
    Place(0, 30 * kCell + 500.0f, -(30 * kCell + 500.0f));
    for (int i = 0; i < 100; ++i) MoveCharacter(0, 100.0f, kSouthEast);
    EXPECT_LT(Leader().position.x, 32 * kCell);
    EXPECT_GT(Leader().position.z, -32 * kCell);
    Place(0, -5000.0f, 7000.0f);  // put off the field: it cannot walk at all
    MoveCharacter(0, 100.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, -5000.0f);
}

TEST_F(MoveCharacterTest, CameraFollowsAndSlopesOnlyByWholeUnits) {
    QFldInfo& f = Field();
    for (auto& column : f.cameraSelect)
        for (uint8_t& s : column) s = 0x21;  // along x slope 1, along z slope 2
    f.cameraSlope[1] = CameraSlope{0.5f, 0.5f, 0.0f};
    f.cameraSlope[2] = CameraSlope{0.5f, -0.5f, 0.0f};
    for (int i = 0; i < 10; ++i) MoveCharacter(0, 16.0f, kSouthEast);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3000.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 2000.0f);
    EXPECT_FLOAT_EQ(g_Camera.target.y, Leader().position.y + 320.0f);

    f.cameraSlope[1] = CameraSlope{3.5f, 2.5f, 0.0f};  // east: dx = -1 a unit
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 2997.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 1998.0f);
    f.cameraSlope[2] = CameraSlope{-4.5f, 1.9f, 0.0f};  // south: dz = -1 a unit
    MoveCharacter(0, 16.0f, kSouth);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3001.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 1997.0f);
    Place(0, 31 * kCell + 1000.0f, -5000.0f);
    MoveCharacter(0, 100.0f, kEast);  // into a cell past the grid: no slope to read
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3001.0f);
}

TEST_F(MoveCharacterTest, EncounterRateAgainstTheDrawnNumber) {
    for (int i = 0; i < 500; ++i) MoveCharacter(0, 1.0f, i % 2 ? kEast : -kEast);
    EXPECT_EQ(g_EncounterPending, 0);
    CrtSrand(77);
    const int32_t drawn = CrtRand() % 4096;
    for (int32_t rate : {drawn, drawn + 1}) {
        CrtSrand(77);
        g_EncounterRate = rate;
        MoveCharacter(0, 1.0f, kEast);
        EXPECT_EQ(g_EncounterPending, rate > drawn ? 1 : 0);
    }
    EXPECT_EQ(State().fieldHandler, &EncounterFadeOut);
    EXPECT_EQ(g_FieldInputEnabled, 0);
    g_EncounterRate = 4096;
    for (int i = 0; i < 50; ++i) {
        g_EncounterPending = 0;
        MoveCharacter(0, 1.0f, -kEast);
        ASSERT_EQ(g_EncounterPending, 1) << i;
    }
}

TEST_F(MoveCharacterTest, SpeakTargetIsTheFirstCharacterJustAhead) {
    Leader().rotation.y = kEast;
    const Vector3 p = Leader().position;
    AddCharacter(3, p.x + 260.0f, p.z);  // reached only with the enlarged squares
    EXPECT_EQ(FindSpeakTarget(0), 3);
    Leader().rotation.y = -kEast;
    EXPECT_EQ(FindSpeakTarget(0), 0);
}

}  // namespace
