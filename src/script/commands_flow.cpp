// The shared helpers of the commands and the common commands of flow and arithmetic.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "base/crt_rand.h"
#include "base/frame.h"
#include "math/math_scalar.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"
#include "script/technique_targets.h"
#include "sound/bgm.h"
#include "world/party.h"

TechniqueTargetsSource g_TechniqueTargetsSource = nullptr;

namespace {

int32_t Wrap(int64_t v) {
    return int32_t(uint32_t(uint64_t(v)));
}

void Append(char* dst, size_t capacity, const char* src) {
    const size_t used = strnlen(dst, capacity - 1);
    std::snprintf(dst + used, capacity - used, "%s", src);
}

void JumpTo(QScrOrg& s, bool taken) {
    char label[QScrOrg::kStrSize];
    s.gStr(label);
    const char dir = ReadOp(s);
    if (!taken) return;
    // Signed as the data expects: every character up to '0', bytes from 0x80 too, goes forward.
    if (static_cast<signed char>(dir) <= '0') {
        s.jpAf(label);
    } else {
        s.jpAb(label);
    }
}

}  // namespace

namespace common_commands {

void EndScript(QScrOrg& s) {
    s.running = 0;
    s.stepping = 0;
}

void IntArithmetic(QScrOrg& s) {
    int32_t d = s.gInt();
    int32_t v = s.gInt();
    const char op = ReadOp(s);
    if (d < 0) d = s.IntRef(d);
    if (v < 0) v = s.IntRef(v);
    if (!CheckIndex(s, d, QScrOrg::kIntVars, "integer variable")) return;
    int32_t& r = s.iv[d];
    switch (op) {
        case '*':
            r = Wrap(int64_t(r) * v);
            break;
        case '+':
            r = Wrap(int64_t(r) + v);
            break;
        case '-':
            r = Wrap(int64_t(r) - v);
            break;
        case '/':
            if (v != 0) r = Wrap(int64_t(r) / v);
            break;
        case '=':
            r = v;
            break;
        case 'A':
        case 'M': {
            // The fighter whose technique is playing, or that fighter's target.
            TechniqueTargets t;
            if (!g_TechniqueTargetsSource || !g_TechniqueTargetsSource(t)) {
                ScriptError(s, "no battle for the technique operators");
                break;
            }
            if (op == 'M') {
                r = t.actor;
            } else if (CheckIndex(s, t.actor, t.fighterCount, "fighter")) {
                r = t.target[t.actor];
            }
            break;
        }
        case 'B':
            r = GetBgmVolume();
            break;
        case 'F':
            r = int32_t(g_FrameTime);
            break;
        case 'R':
            if (s.iv[1] == 0) {
                ScriptError(s, "random number modulo 0");
            } else {
                r = CrtRand() % s.iv[1];
            }
            break;
        default:
            break;
    }
}

void Compare(QScrOrg& s) {
    const int32_t a = s.gInt();
    const char op = ReadOp(s);
    ReadOp(s);  // an operator may be written with two characters; the second one is not read
    const int32_t b = s.gInt();
    if (!CheckIndex(s, a, QScrOrg::kIntVars, "integer variable") ||
        !CheckIndex(s, b, QScrOrg::kIntVars, "integer variable"))
        return;
    const int32_t x = s.iv[a], y = s.iv[b];
    switch (op) {
        case '!':
            s.iv[2] = x != y;
            break;
        case '<':
            s.iv[2] = x < y;
            break;
        case '=':
            s.iv[2] = x == y;
            break;
        case '>':
            s.iv[2] = x > y;
            break;
        default:
            break;
    }
}

void StringRegister(QScrOrg& s) {
    char text[QScrOrg::kStrSize];
    s.gStr(text);
    const char op = ReadOp(s);
    switch (op) {
        case '+':
            Append(s.str, sizeof s.str, text);
            break;
        case '=':
            std::snprintf(s.str, sizeof s.str, "%s", text);
            break;
        case 'N':
            if (CheckIndex(s, s.iv[0], kPartyMemberCount, "party member")) {
                const auto& name = g_PartyMembers[s.iv[0]].name;
                char copy[sizeof name + 1] = {};
                std::memcpy(copy, name, sizeof name);
                Append(s.str, sizeof s.str, copy);
            }
            break;
        default:
            break;
    }
}

void Jump(QScrOrg& s) {
    JumpTo(s, true);
}

void JumpIf(QScrOrg& s) {
    JumpTo(s, s.iv[2] != 0);
}

void ToggleVariable(QScrOrg& s) {
    const int32_t i = s.gInt();
    if (CheckIndex(s, i, QScrOrg::kIntVars, "integer variable")) s.iv[i] = s.iv[i] == 0;
}

void FloatArithmetic(QScrOrg& s) {
    int32_t j = s.gInt();
    float value = float(s.gFloat());
    const int32_t deg = s.gInt();
    const char op = ReadOp(s);
    if (j < 0) j = s.IntRef(j);
    if (value < 0) value = s.FloatRef(value);
    if (deg != 0) value *= kDegToRad;
    if (!CheckIndex(s, j, QScrOrg::kFloatVars, "float variable")) return;
    float& r = s.fv[j];
    switch (op) {
        case '*':
            r *= value;
            break;
        case '+':
            r += value;
            break;
        case '-':
            r -= value;
            break;
        case '/':
            if (value != 0.0f) r /= value;
            break;
        case '=':
            r = value;
            break;
        default:
            break;
    }
}

}  // namespace common_commands

int32_t PeekNumber(const QScrOrg& s) {
    int32_t i = s.pc;
    auto at = [&](int32_t k) { return k >= 0 && k < QScrOrg::kTextSize ? s.text[k] : '\0'; };
    while (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r')) ++i;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-') negative = at(i++) == '-';
    if (at(i) < '0' || at(i) > '9') return -1;
    int64_t value = 0;
    while (at(i) >= '0' && at(i) <= '9') {
        if (value < 1000000) value = value * 10 + (at(i) - '0');
        ++i;
    }
    return negative ? int32_t(-value) : int32_t(value);
}

void SkipToArguments(QScrOrg& s) {
    while (s.pc >= 0 && s.pc < QScrOrg::kTextSize && s.text[s.pc] != '\0' && s.text[s.pc] != ' ')
        ++s.pc;
    if (s.pc >= 0 && s.pc < QScrOrg::kTextSize && s.text[s.pc] == ' ') ++s.pc;
}

int32_t ReadCommandNumber(QScrOrg& s) {
    const int32_t number = PeekNumber(s);
    SkipToArguments(s);
    return number;
}

char ReadOp(QScrOrg& s) {
    if (s.pc < 0 || s.pc >= QScrOrg::kTextSize) return '\0';
    return s.text[s.pc++];
}

bool CheckIndex(const QScrOrg& s, int64_t index, int32_t count, const char* what) {
    if (index >= 0 && index < count) return true;
    char text[96];
    std::snprintf(text, sizeof text, "%s %lld out of range", what, static_cast<long long>(index));
    ScriptError(s, text);
    return false;
}
