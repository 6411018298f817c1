#include "field/field_move.h"

#include <cmath>
#include <limits>

#include "field/field_triggers.h"
#include "field/game_state.h"
#include "math/math_scalar.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_info.h"

namespace {

// Height of grid corner (a, b); corners past the grid's edge (the far side of the last column
// or row) take the nearest corner's height instead of reading outside the table.
float CornerHeight(const QFldInfo& field, int32_t a, int32_t b) {
    const int32_t last = kFieldGridSize - 1;
    a = a < 0 ? 0 : (a > last ? last : a);
    b = b < 0 ? 0 : (b > last ? last : b);
    return float(field.height[a][b]);
}

Vector3 Corner(const QFldInfo& field, int32_t a, int32_t b) {
    return Vector3{float(a) * kFieldCellSize, CornerHeight(field, a, b),
                   -float(b) * kFieldCellSize};
}

// The square of a runs from (x, z) to (x + size, z - size).
template <typename T>
bool SquaresOverlap(T ax, T az, T as, T bx, T bz, T bs) {
    return bz > az - as && az > bz - bs && bx < ax + as && ax < bx + bs;
}

// Grid indices of points far off the field are held just outside it, where every lookup is
// clamped or refused anyway, so that no index arithmetic can overflow.
int32_t HoldNearGrid(int32_t v) {
    return v < -1 ? -1 : (v > kFieldGridSize ? kFieldGridSize : v);
}

// Walking off the grid is never allowed, whatever the border cells say.
bool CellBlocks(const QFldInfo& field, int32_t column, int32_t row) {
    if (!CellInGrid(column, row)) return true;
    return (field.cellFlags[column][row] & kCellBlocked) != 0;
}

bool OverlapsAnyone(int32_t index) {
    for (int32_t n = 0; n < kCharacterCount; ++n)
        if (CharactersOverlap(index, n)) return true;
    return false;
}

// Product truncated toward zero to a whole number, as the camera slope is applied.
int64_t TruncatedProduct(float a, float b) {
    return TruncToInt(a * b);
}

// The camera follows the leader: target above its head, eye on the orbit, and the slope of the
// cell stepped into raises the eye and backs it off per unit moved.
void FollowLeader(const QFldInfo& field, const Vector3& old, int32_t column, int32_t row,
                  float distance) {
    const Character& leader = g_Characters[0];
    Camera& cam = g_Camera;
    cam.target = Vector3{leader.position.x, leader.position.y + 320.0f, leader.position.z};
    cam.eye.x = TaylorSin(cam.angle) * cam.distance + cam.target.x;
    cam.eye.z = TaylorCos(cam.angle) * cam.distance + cam.target.z;
    // A step of no length has no direction to slope along.
    if (distance != 0.0f && CellInGrid(column, row)) {
        const float dx = (old.x - leader.position.x) / distance;
        const float dz = (leader.position.z - old.z) / distance;
        const uint8_t select = field.cameraSelect[column][row];
        const CameraSlope& a = field.cameraSlope[select & 0x0F];
        const CameraSlope& b = field.cameraSlope[select >> 4];
        cam.eye.y += float(TruncatedProduct(dx, a.heightRate) + TruncatedProduct(dz, b.heightRate));
        cam.distance +=
            float(TruncatedProduct(dx, a.distanceRate) + TruncatedProduct(dz, b.distanceRate));
    }
    UpdateView();
}

}  // namespace

int32_t CellColumn(float x) {
    return TruncToInt(x / kFieldCellSize);
}

int32_t CellRow(float z) {
    // -(z / 1024) truncated; the negation cannot overflow because the quotient saturates first.
    const int32_t j = TruncToInt(z / kFieldCellSize);
    return j == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -j;
}

bool CellInGrid(int32_t column, int32_t row) {
    return column >= 0 && column < kFieldGridSize && row >= 0 && row < kFieldGridSize;
}

float GroundHeightOn(const QFldInfo& field, float x, float z) {
    const int32_t i = HoldNearGrid(TruncToInt(x / kFieldCellSize));
    const int32_t j = -HoldNearGrid(CellRow(z));
    const int32_t k = -j;
    const int32_t fx = TruncToInt(x - float(i) * kFieldCellSize);
    const int32_t fz = TruncToInt(z - float(j) * kFieldCellSize);
    Vector3 p0, p1, p2;
    if (int64_t(fx) - 1024 > fz) {  // past the diagonal from (i+1, k) to (i, k+1)
        p0 = Corner(field, i + 1, k);
        p1 = Corner(field, i + 1, k + 1);
        p2 = Corner(field, i, k + 1);
    } else {
        p0 = Corner(field, i, k);
        p1 = Corner(field, i + 1, k);
        p2 = Corner(field, i, k + 1);
    }
    Vector3 e1 = p1, e2 = p2;
    e1.Sub(p0);
    e2.Sub(p1);
    Vector3 n;
    Cross(n, e1, e2);
    const float d = -Dot(n, p0);
    // n.y is the area of the cell's triangle seen from above: never zero.
    return -(n.x * x + n.z * z + d) / n.y;
}

float GroundHeight(float x, float z) {
    if (!g_pGameState || !g_pGameState->fieldInfo) return 0.0f;
    return GroundHeightOn(*g_pGameState->fieldInfo, x, z);
}

int32_t CharactersOverlap(int32_t a, int32_t b) {
    if (a < 0 || a >= kCharacterCount || b < 0 || b >= kCharacterCount) return 0;
    const Character& cb = g_Characters[b];
    if (!cb.active || a == b) return 0;
    const Character& ca = g_Characters[a];
    return SquaresOverlap(ca.position.x, ca.position.z, ca.collisionSize, cb.position.x,
                          cb.position.z, cb.collisionSize)
               ? 1
               : 0;
}

void MoveCharacter(int32_t index, float distance, float facing) {
    if (index < 0 || index >= kCharacterCount || !g_pGameState || !g_pGameState->fieldInfo) return;
    const QFldInfo& field = *g_pGameState->fieldInfo;
    Character& ch = g_Characters[index];
    const Vector3 old = ch.position;

    int32_t row = CellRow(old.z);
    ch.position.x += TaylorSin(facing) * distance;
    const int32_t column = CellColumn(ch.position.x);
    if (CellBlocks(field, column, row) || OverlapsAnyone(index)) ch.position.x = old.x;

    // The column stays the one of the attempted x, also when x was undone: a diagonal step
    // into a wall does not slide along it.
    ch.position.z += TaylorCos(facing) * distance;
    row = CellRow(ch.position.z);
    if (CellBlocks(field, column, row) || OverlapsAnyone(index)) ch.position.z = old.z;

    ch.position.y = GroundHeightOn(field, ch.position.x, ch.position.z);
    if (index != 0) return;

    FollowLeader(field, old, column, row, distance);
    LeaderEntersCell(column, row, old);
}

int32_t FindSpeakTarget(int32_t index) {
    if (index < 0 || index >= kCharacterCount) return 0;
    const Character& speaker = g_Characters[index];
    // Looks a little ahead: the square moved 32 units along the facing, both squares enlarged.
    const float aheadX = speaker.position.x + TaylorSin(speaker.rotation.y) * 32.0f;
    const float aheadZ = speaker.position.z + TaylorCos(speaker.rotation.y) * 32.0f;
    const double size = speaker.collisionSize * 1.2;
    for (int32_t n = 0; n < kCharacterCount; ++n) {
        const Character& other = g_Characters[n];
        if (!other.active || n == index) continue;
        if (SquaresOverlap<double>(aheadX, aheadZ, size, other.position.x, other.position.z,
                                   other.collisionSize * 1.2))
            return n;
    }
    return 0;
}
