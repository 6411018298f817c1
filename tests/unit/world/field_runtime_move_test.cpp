// Ground height, walking against blocked cells and other characters, the camera that follows
// the leader, and the place triggers and encounters a step sets off.
#include <cmath>

#include "field_runtime_fixture.h"
#include "math/math_scalar.h"
#include "sound/bgm.h"

namespace {

// Facings: a facing f walks along (sin f, cos f); the field lies toward -z.
const float kEast = 90.0f * kDegToRad;
const float kSouth = 180.0f * kDegToRad;  // toward higher rows
const float kWest = -90.0f * kDegToRad;
const float kSouthEast = 135.0f * kDegToRad;

constexpr float kCell = 1024.0f;

}  // namespace

using GroundHeightTest = FieldRuntimeTest;

TEST_F(GroundHeightTest, CornersDiagonalAndBothTriangles) {
    QFldInfo& f = Field();
    f.height[5][5] = 100;  // corner (x 5, row 5)
    f.height[6][5] = 200;
    f.height[5][6] = 300;
    f.height[6][6] = 600;
    const float x0 = 5 * kCell, z0 = -5 * kCell;
    EXPECT_FLOAT_EQ(GroundHeight(x0, z0), 100.0f);
    EXPECT_FLOAT_EQ(GroundHeight(x0 + kCell, z0), 200.0f);
    EXPECT_FLOAT_EQ(GroundHeight(x0, z0 - kCell), 300.0f);
    // The far corner is reached from inside the cell through the other triangle.
    EXPECT_NEAR(GroundHeight(x0 + 1023.0f, z0 - 1023.0f), 600.0f, 1.0f);
    // The diagonal runs from corner (6, 5) to corner (5, 6), straight between their heights.
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 512.0f, z0 - 512.0f), 250.0f);
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 256.0f, z0 - 768.0f), 275.0f);
    // Near triangle (corners 5/5, 6/5, 5/6) and far triangle (6/5, 6/6, 5/6).
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 256.0f, z0 - 256.0f), 175.0f);
    EXPECT_FLOAT_EQ(GroundHeight(x0 + 768.0f, z0 - 768.0f), 425.0f);
    // Heights are signed 16-bit.
    f.height[5][5] = -1000;
    EXPECT_FLOAT_EQ(GroundHeight(x0, z0), -1000.0f);
}

TEST_F(GroundHeightTest, LastColumnAndRowStayInsideTheGrid) {
    QFldInfo& f = Field();
    // Bytes behind the height table: a read past corner 31 would find 0x4040 here.
    std::memset(f.cellFlags, 0x40, sizeof f.cellFlags);
    f.height[31][3] = 500;
    f.height[31][4] = 500;
    EXPECT_FLOAT_EQ(GroundHeight(31 * kCell + 500.0f, -(3 * kCell + 100.0f)), 500.0f);
    f.height[30][31] = 700;
    f.height[31][31] = 700;
    EXPECT_FLOAT_EQ(GroundHeight(30 * kCell + 700.0f, -(31 * kCell + 900.0f)), 700.0f);
    // Points off the field extend the nearest cells and never read outside the table, however
    // far off (or undefined) they are.
    for (float x : {-5000.0f, 40000.0f})
        for (float z : {5000.0f, -40000.0f})
            EXPECT_TRUE(std::isfinite(GroundHeight(x, z))) << x << " " << z;
    for (float x : {-1e9f, 3e38f, NAN})
        for (float z : {1e9f, -3e38f, NAN}) (void)GroundHeight(x, z);
}

using MoveCharacterTest = FieldRuntimeTest;

TEST_F(MoveCharacterTest, WalksTheDistanceAndStandsOnTheGround) {
    for (int x = 0; x < 32; ++x)
        for (int r = 0; r < 32; ++r) Field().height[x][r] = int16_t(x * 100);
    const Vector3 before = Leader().position;
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_NEAR(Leader().position.x, before.x + 16.0f, 0.01f);
    EXPECT_NEAR(Leader().position.z, before.z, 0.01f);
    EXPECT_NEAR(Leader().position.y, Leader().position.x * 100.0f / kCell, 0.5f);
    // The camera looks at a point above the leader and sits on its orbit.
    EXPECT_FLOAT_EQ(g_Camera.target.x, Leader().position.x);
    EXPECT_FLOAT_EQ(g_Camera.target.y, Leader().position.y + 320.0f);
    EXPECT_NEAR(g_Camera.eye.z, g_Camera.target.z + 2000.0f, 0.5f);
    Matrix44 view{};
    device->GetTransform(TransformType::View, &view);
    EXPECT_EQ(std::memcmp(&view, &g_ViewMatrix, sizeof view), 0);
}

TEST_F(MoveCharacterTest, BlockedCellsUndoEachAxisWithoutSliding) {
    // The leader stands just before the corner of cell (5, 5) toward (6, 6).
    const float x = 6 * kCell - 10.0f, z = -(6 * kCell - 10.0f);
    Place(0, x, z);
    Field().cellFlags[6][5] = kCellBlocked;
    MoveCharacter(0, 20.0f, kEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);

    // Diagonally: x into the blocked (6, 5) is undone; z is tested in the attempted column
    // (6, 6), which is free, so z goes on.
    MoveCharacter(0, 20.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    EXPECT_LT(Leader().position.z, z - 10.0f);

    // With (6, 6) blocked too, the diagonal step does not slide along the wall, although the
    // cell below the leader (5, 6) is free.
    Place(0, x, z);
    Field().cellFlags[6][6] = kCellBlocked | 3;
    MoveCharacter(0, 20.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    EXPECT_FLOAT_EQ(Leader().position.z, z);

    // Blocked on z alone.
    Field().cellFlags[6][5] = Field().cellFlags[6][6] = 0;
    Field().cellFlags[5][6] = kCellBlocked;
    MoveCharacter(0, 20.0f, kSouth);
    EXPECT_FLOAT_EQ(Leader().position.z, z);
    EXPECT_NEAR(Leader().position.x, x, 0.5f);  // the engine's sine of 180 degrees is not 0
}

TEST_F(MoveCharacterTest, OtherActiveCharactersBlock) {
    const float x = 5 * kCell + 100.0f, z = -(5 * kCell + 500.0f);
    Place(0, x, z);
    AddCharacter(1, x + 210.0f, z);
    MoveCharacter(0, 16.0f, kEast);  // the squares would overlap: x undone
    EXPECT_FLOAT_EQ(Leader().position.x, x);
    MoveCharacter(0, 16.0f, kWest);  // walking away is free
    EXPECT_NEAR(Leader().position.x, x - 16.0f, 0.01f);

    g_Characters[1].active = 0;  // free slots never block
    Place(0, x, z);
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_NEAR(Leader().position.x, x + 16.0f, 0.01f);

    // The overlap test, square from (x, z) to (x + size, z - size).
    AddCharacter(2, 0.0f, 0.0f, 100.0f);
    AddCharacter(3, 99.0f, -99.0f, 100.0f);
    EXPECT_EQ(CharactersOverlap(2, 3), 1);
    EXPECT_EQ(CharactersOverlap(3, 2), 1);
    EXPECT_EQ(CharactersOverlap(2, 2), 0);
    g_Characters[3].position.x = 100.0f;  // touching edges do not overlap
    EXPECT_EQ(CharactersOverlap(2, 3), 0);
    EXPECT_EQ(CharactersOverlap(2, 20), 0);
    EXPECT_EQ(CharactersOverlap(-1, 2), 0);
}

TEST_F(MoveCharacterTest, NeverLeavesTheGridEvenWithAnOpenBorder) {
    Place(0, 30 * kCell + 500.0f, -(30 * kCell + 500.0f));
    for (int i = 0; i < 200; ++i) MoveCharacter(0, 100.0f, kSouthEast);
    EXPECT_LT(Leader().position.x, 32 * kCell);
    EXPECT_GT(Leader().position.z, -32 * kCell);
    Place(0, 500.0f, -500.0f);
    for (int i = 0; i < 200; ++i) MoveCharacter(0, 100.0f, -45.0f * kDegToRad);
    EXPECT_GT(Leader().position.x, -kCell);
    EXPECT_LT(Leader().position.z, kCell);
    // A character placed off the field by a script cannot walk at all, and no step indexes the
    // grid with its cells.
    Place(0, -5000.0f, 7000.0f);
    MoveCharacter(0, 100.0f, kSouthEast);
    EXPECT_FLOAT_EQ(Leader().position.x, -5000.0f);
    EXPECT_FLOAT_EQ(Leader().position.z, 7000.0f);
}

TEST_F(MoveCharacterTest, CameraSlopesMoveOnlyByWholeUnits) {
    QFldInfo& f = Field();
    for (auto& column : f.cameraSelect)
        for (uint8_t& s : column) s = 0x21;  // along x entry 1, along z entry 2
    f.cameraSlope[1] = CameraSlope{0.5f, 0.5f, 0.0f};
    f.cameraSlope[2] = CameraSlope{0.5f, -0.5f, 0.0f};
    for (int i = 0; i < 10; ++i) MoveCharacter(0, 16.0f, kSouthEast);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3000.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 2000.0f);

    // Along x: a step east is dx = -1 per unit, so the eye goes down by trunc(-3.5) = 3.
    f.cameraSlope[1] = CameraSlope{3.5f, 2.5f, 0.0f};
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 2997.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 1998.0f);
    // Along z (south is dz = -1) entry 2 applies.
    f.cameraSlope[2] = CameraSlope{-4.5f, 1.9f, 0.0f};
    MoveCharacter(0, 16.0f, kSouth);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3001.0f);
    EXPECT_FLOAT_EQ(g_Camera.distance, 1997.0f);
    // Cells outside the grid have no slope.
    Place(0, 31 * kCell + 1000.0f, -(5 * kCell + 500.0f));
    MoveCharacter(0, 100.0f, kEast);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3001.0f);
    // A step of no length has no slope to follow (and divides nothing by zero).
    MoveCharacter(0, 0.0f, kSouth);
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3001.0f);
}

using PlaceTriggerTest = FieldRuntimeTest;

TEST_F(PlaceTriggerTest, EventCellStartsItsLabelEachTimeItIsEntered) {
    SetScript("@:PLACE4//four#@:PLACE128//hundred#@:PLACE0//zero#c0");
    const float x = 6 * kCell - 10.0f, z = -(5 * kCell + 500.0f);
    Place(0, x, z);
    for (auto& column : Field().height)
        for (int16_t& h : column) h = 40;
    Field().cellEvent[6][5] = 0x81;  // bit 7 counts in the label too
    g_EncounterRate = 4096;

    MoveCharacter(0, 20.0f, kEast);
    EXPECT_EQ(ScriptRest(), "hundred");
    EXPECT_EQ(Script().running, 1);
    EXPECT_FLOAT_EQ(Leader().position.x, x);  // put back outside the cell
    EXPECT_FLOAT_EQ(Leader().position.y, 40.0f);
    EXPECT_EQ(State().walkAnimating, 1);
    EXPECT_EQ(State().lastCellX, -1);  // a step that started something is not remembered
    EXPECT_EQ(g_EncounterPending, 0);  // and draws no encounter

    // Stepping in again starts it again.
    Script().running = 0;
    Script().pc = 0;
    MoveCharacter(0, 20.0f, kEast);
    EXPECT_EQ(ScriptRest(), "hundred");
    EXPECT_EQ(Script().running, 1);

    Field().cellEvent[6][5] = 0x05;
    MoveCharacter(0, 20.0f, kEast);
    EXPECT_EQ(ScriptRest(), "four");
    Field().cellEvent[6][5] = 0x01;
    MoveCharacter(0, 20.0f, kEast);
    EXPECT_EQ(ScriptRest(), "zero");
}

TEST_F(PlaceTriggerTest, LastCellDoesNotFireAndHiddenGroundBitAloneIsNoEvent) {
    SetScript("@:PLACE1//two#c0");
    Field().cellEvent[5][5] = 0x02;
    State().lastCellX = State().lastCellRow = 5;  // the leader stands in it already
    const Vector3 before = Leader().position;
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_EQ(Script().running, 0);
    EXPECT_NEAR(Leader().position.x, before.x + 16.0f, 0.01f);

    Field().cellEvent[5][5] = 0x80;  // no event number: the cell only hides its ground
    State().lastCellX = -1;
    MoveCharacter(0, 16.0f, kEast);
    EXPECT_EQ(Script().running, 0);
    EXPECT_EQ(State().lastCellX, 5);
    EXPECT_EQ(State().lastCellRow, 5);
}

TEST_F(PlaceTriggerTest, EncounterRateAgainstTheDrawnNumber) {
    for (int i = 0; i < 500; ++i) MoveCharacter(0, 1.0f, i % 2 ? kEast : kWest);
    EXPECT_EQ(g_EncounterPending, 0);

    // The draw is the runtime generator's next number modulo 4096.
    CrtSrand(77);
    const int32_t drawn = CrtRand() % 4096;
    CrtSrand(77);
    g_EncounterRate = drawn;
    MoveCharacter(0, 1.0f, kEast);
    EXPECT_EQ(g_EncounterPending, 0);
    CrtSrand(77);
    g_EncounterRate = drawn + 1;
    MoveCharacter(0, 1.0f, kEast);
    EXPECT_EQ(g_EncounterPending, 1);
    EXPECT_EQ(State().fieldHandler, &EncounterFadeOut);
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_EQ(Leader().motionFlags, 0u);
    EXPECT_EQ(CurrentBgmName(), "btl0");

    g_EncounterPending = 0;
    g_EncounterRate = 4096;
    for (int i = 0; i < 50; ++i) {
        MoveCharacter(0, 1.0f, kWest);
        ASSERT_EQ(g_EncounterPending, 1) << i;
        g_EncounterPending = 0;
    }
}

using SpeakTest = FieldRuntimeTest;

TEST_F(SpeakTest, FindsTheFirstCharacterJustAhead) {
    Leader().rotation.y = kEast;
    const Vector3 p = Leader().position;
    AddCharacter(3, p.x + 260.0f, p.z);  // within the enlarged squares once 32 ahead
    AddCharacter(2, p.x + 1000.0f, p.z);
    EXPECT_EQ(FindSpeakTarget(0), 3);
    EXPECT_FLOAT_EQ(Leader().position.x, p.x);  // the look ahead leaves the leader in place
    AddCharacter(1, p.x + 250.0f, p.z - 100.0f);
    EXPECT_EQ(FindSpeakTarget(0), 1);
    Leader().rotation.y = kWest;  // turned away: nobody
    EXPECT_EQ(FindSpeakTarget(0), 0);
    // Whoever finds the leader first finds nobody: 0 means nobody.
    g_Characters[1].rotation.y = kWest;
    EXPECT_EQ(FindSpeakTarget(1), 0);
    Leader().active = 0;
    EXPECT_EQ(FindSpeakTarget(1), 3);
    g_Characters[3].active = 0;
    EXPECT_EQ(FindSpeakTarget(1), 0);
}
