// Common commands that place things: field objects, billboards, and characters turning toward
// and walking up to each other.
#include <cmath>

#include "base/frame.h"
#include "gfx/texture_slots.h"
#include "math/math_scalar.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "world/character.h"
#include "world/field_tables.h"

namespace {

constexpr float kRadToDeg = float(180.0 / 3.14159265358979);
constexpr float kTurnDoneDegrees = 22.0f;

void BillboardImage(QScrOrg& s, Billboard& b, char op, float value) {
    if (value < 0) {
        b.image = nullptr;
        return;
    }
    if (op == '+') {
        const int32_t at = b.image ? int32_t(b.image - g_TextureSlots) : -1;
        const int32_t moved = at < 0 ? -1 : TruncToInt(float(at) + value);
        if (CheckIndex(s, moved, kTextureSlotCount, "texture slot"))
            b.image = &g_TextureSlots[moved];
        return;
    }
    const int32_t slot = TruncToInt(value) + kBillboardFirstSlot;
    if (CheckIndex(s, slot, kTextureSlotCount, "texture slot")) b.image = &g_TextureSlots[slot];
}

void PlaceOnSpeaker(QScrOrg& s, Billboard& b, bool addHead) {
    if (!CheckIndex(s, s.iv[1], kCharacterCount, "character")) return;
    const Character& c = g_Characters[s.iv[1]];
    b.position = c.position;
    b.position.y -= b.heightFactor * b.heightScale * 0.5f;
    if (addHead) b.position.y += HeadHeight(c);
}

}  // namespace

namespace common_commands {

void FieldObjectField(QScrOrg& s) {
    const int32_t field = s.gInt();
    const float value = float(s.gFloat());
    const char op = ReadOp(s);
    if (!CheckIndex(s, s.iv[0], kFieldObjectCount, "field object")) return;
    FieldObject& o = g_FieldObjects[s.iv[0]];
    switch (field) {
        case 0:
            o.kind = TruncToInt(value);
            break;
        case 1:
            o.colour = uint32_t(TruncToInt(value));
            break;
        case 2:
            ChangeFloat(o.position.x, op, value);
            break;
        case 3:
            ChangeFloat(o.position.y, op, value);
            break;
        case 4:
            ChangeFloat(o.position.z, op, value);
            break;
        case 5:
            ChangeFloat(o.rotation.x, op, value);
            break;
        case 6:
            ChangeFloat(o.rotation.y, op, value);
            break;
        case 7:
            ChangeFloat(o.rotation.z, op, value);
            break;
        case 8:
            ChangeFloat(o.scale.x, op, value);
            break;
        case 9:
            ChangeFloat(o.scale.y, op, value);
            break;
        case 10:
            ChangeFloat(o.scale.z, op, value);
            break;
        case 11:
            ResetFieldObject(s.iv[0]);
            break;
        case 12: {
            const int32_t k = TruncToInt(value);
            const int32_t i = k < 0 ? -k - 1 : 0;
            if (CheckIndex(s, i, QScrOrg::kIntVars, "integer variable"))
                o.position.x = float(s.iv[i]);
            break;
        }
        default:
            break;
    }
}

void BillboardField(QScrOrg& s) {
    const int32_t which = s.gInt();
    const int32_t field = s.gInt();
    const float value = float(s.gFloat());
    const char op = ReadOp(s);
    const int32_t index = which >= 0 ? which + 1 : s.IntRef(which);
    if (!CheckIndex(s, index, kBillboardCount, "billboard")) return;
    Billboard& b = g_Billboards[index];
    switch (field) {
        case 0:
            BillboardImage(s, b, op, value);
            break;
        case 1:
            ChangeFloat(b.position.x, op, value);
            break;
        case 2:
            ChangeFloat(b.position.y, op, value);
            break;
        case 3:
            ChangeFloat(b.position.z, op, value);
            break;
        case 4:
            ChangeFloat(b.heightFactor, op, value);
            break;
        case 7:
            ChangeFloat(b.widthScale, op, value);
            break;
        case 8:
            ChangeFloat(b.heightScale, op, value);
            break;
        case 9:
            ChangeInt(b.alpha, op, value);
            break;
        case 10:
            ChangeInt(b.red, op, value);
            break;
        case 11:
            ChangeInt(b.green, op, value);
            break;
        case 12:
            ChangeInt(b.blue, op, value);
            break;
        case 13:
            PlaceOnSpeaker(s, b, true);
            break;
        case 14:
            ResetBillboard(b);
            break;
        case 15:
            LowerBillboard(b);
            break;
        case 16:
            ChangeInt(b.depthFunc, op, value);
            break;
        case 17:
            if (value == 0.0f || value == 1.0f) PlaceOnSpeaker(s, b, false);
            break;
        default:
            break;
    }
}

void TurnToward(QScrOrg& s) {
    int32_t a = s.gInt();
    int32_t b = s.gInt();
    const int32_t frames = s.gInt();
    if (a < 0) a = s.IntRef(a);
    if (b < 0) b = s.IntRef(b);
    if (!CheckIndex(s, a, kCharacterCount, "character") ||
        !CheckIndex(s, b, kCharacterCount, "character"))
        return;
    if (frames == 0) {
        ScriptError(s, "turn over 0 frames");
        return;
    }
    Character& ca = g_Characters[a];
    const Character& cb = g_Characters[b];
    const float h = Heading(ca.position.x, ca.position.z, cb.position.x, cb.position.z);
    float& r = ca.rotation.y;
    // The half turn is added in every call, as the data expects.
    r = r + (h - r) / float(frames) + kPi;
    const float d = h - r;
    const float limit = kTurnDoneDegrees * kDegToRad;
    s.iv[2] = (d > 0.0f && d < limit) || (d > -limit && d < 0.0f);
}

void Approach(QScrOrg& s) {
    s.gFloat();  // the distance is not used
    if (!CheckIndex(s, s.iv[0], kCharacterCount, "character") ||
        !CheckIndex(s, s.iv[1], kCharacterCount, "character"))
        return;
    Character& mover = g_Characters[s.iv[0]];
    const Character& goal = g_Characters[s.iv[1]];
    const float step = float(g_FrameTime);
    const float h = Heading(mover.position.x, mover.position.z, goal.position.x, goal.position.z);
    mover.rotation.y = h + 180.0f * kDegToRad;
    mover.position.x -= TaylorSin(h) * step;
    mover.position.z -= TaylorCos(h) * step;
    const float r = goal.collisionSize;
    if (std::fabs(mover.position.z - goal.position.z) >= r ||
        std::fabs(mover.position.x - goal.position.x) >= r) {
        s.iv[2] = 1;
        return;
    }
    mover.position.x = goal.position.x + TaylorSin(h) * r;
    mover.position.z = goal.position.z + TaylorCos(h) * r;
    s.iv[2] = 0;
}

}  // namespace common_commands

float Heading(float xa, float za, float xb, float zb) {
    const float dx = xa - xb;
    const float dz = za - zb;
    float degrees;
    if (dx == 0.0f) {
        degrees = dz >= 0.0f ? 0.0f : 180.0f;
    } else if (dz == 0.0f) {
        degrees = dx > 0.0f ? 90.0f : -90.0f;
    } else if (dx > 0.0f && dz > 0.0f) {
        degrees = std::atan(dx / dz) * kRadToDeg;
    } else if (dx > 0.0f) {
        degrees = std::atan(-dz / dx) * kRadToDeg + 90.0f;
    } else if (dz < 0.0f) {
        degrees = std::atan(dx / dz) * kRadToDeg + 180.0f;
    } else {
        degrees = std::atan(dz / -dx) * kRadToDeg + 270.0f;
    }
    return degrees * kDegToRad;
}
