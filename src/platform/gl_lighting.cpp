#include "platform/gl_lighting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gl_shader.h"

Matrix44 MultiplyRows(const Matrix44& a, const Matrix44& b) {
    Matrix44 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    return r;
}

void NormalMatrixOf(const Matrix44& wv, float out[9]) {
    const float(&m)[4][4] = wv.m;
    float c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    float c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    float c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    float det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (std::fabs(det) < 1e-20f || !std::isfinite(det)) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) out[r * 3 + c] = m[c][r];
        return;
    }
    float inv = 1.0f / det;
    // Inverse = adjugate / det; the adjugate is the transposed cofactor matrix.
    out[0] = c00 * inv;
    out[3] = c01 * inv;
    out[6] = c02 * inv;
    out[1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * inv;
    out[4] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * inv;
    out[7] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * inv;
    out[2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * inv;
    out[5] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * inv;
    out[8] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * inv;
}

void ColorToFloats(uint32_t argb, float out[4]) {
    out[0] = float((argb >> 16) & 255) / 255.0f;
    out[1] = float((argb >> 8) & 255) / 255.0f;
    out[2] = float(argb & 255) / 255.0f;
    out[3] = float(argb >> 24) / 255.0f;
}

PositionBounds BoundsOf(const uint8_t* vertices, uint32_t count, uint32_t stride) {
    PositionBounds b;
    if (!vertices || count == 0 || stride < 3 * sizeof(float)) return b;
    float p[3];
    std::memcpy(p, vertices, sizeof p);
    for (int k = 0; k < 3; ++k) b.lo[k] = b.hi[k] = p[k];
    bool finite = true;
    for (uint32_t i = 0; i < count; ++i) {
        std::memcpy(p, vertices + size_t(i) * stride, sizeof p);
        for (int k = 0; k < 3; ++k) {
            finite = finite && std::isfinite(p[k]);
            b.lo[k] = std::min(b.lo[k], p[k]);
            b.hi[k] = std::max(b.hi[k], p[k]);
        }
    }
    b.valid = finite;
    return b;
}

namespace {

// Whether a light at view-space `p` with `range` cannot reach any point of `bounds` carried into
// view space by `wv`. The box's corners go through the matrix in double precision, and the
// light must fall short by a margin far above the program's rounding, so a light that might
// reach a vertex is always kept.
bool OutOfReach(const float p[3], float range, const PositionBounds& bounds, const Matrix44& wv) {
    if (!bounds.valid || !std::isfinite(range) || range < 0) return false;
    double lo[3], hi[3], scale = std::fabs(double(range));
    for (int c = 0; c < 8; ++c) {
        const double x = (c & 1) ? bounds.hi[0] : bounds.lo[0];
        const double y = (c & 2) ? bounds.hi[1] : bounds.lo[1];
        const double z = (c & 4) ? bounds.hi[2] : bounds.lo[2];
        for (int k = 0; k < 3; ++k) {
            const double v = x * wv.m[0][k] + y * wv.m[1][k] + z * wv.m[2][k] + wv.m[3][k];
            lo[k] = c ? std::min(lo[k], v) : v;
            hi[k] = c ? std::max(hi[k], v) : v;
            scale = std::max(scale, std::fabs(v));
        }
    }
    double gap2 = 0;
    for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(p[k]) || !std::isfinite(lo[k]) || !std::isfinite(hi[k])) return false;
        scale = std::max(scale, std::fabs(double(p[k])));
        const double d = std::max({lo[k] - p[k], p[k] - hi[k], 0.0});
        gap2 += d * d;
    }
    const double margin = 1.0 + 1e-3 * scale;
    return std::sqrt(gap2) > double(range) + margin;
}

void Push(std::vector<float>& out, float a, float b, float c, float d) {
    out.push_back(a);
    out.push_back(b);
    out.push_back(c);
    out.push_back(d);
}

void Push(std::vector<float>& out, const ColorValue& c) {
    Push(out, c.r, c.g, c.b, c.a);
}

}  // namespace

int PackLights(const DeviceState& s, std::vector<float>& out, const PositionBounds& bounds,
               const Matrix44& worldView) {
    out.clear();
    const auto& v = s.view.m;
    int count = 0;
    for (int i = 0; i < kMaxLights; ++i) {
        if (!s.lightEnabled[i]) continue;
        const Light& l = s.lights[i];
        const DeviceVector& p = l.position;
        const DeviceVector& d = l.direction;
        float px = p.x * v[0][0] + p.y * v[1][0] + p.z * v[2][0] + v[3][0];
        float py = p.x * v[0][1] + p.y * v[1][1] + p.z * v[2][1] + v[3][1];
        float pz = p.x * v[0][2] + p.y * v[1][2] + p.z * v[2][2] + v[3][2];
        const float inView[3] = {px, py, pz};
        if (l.type != LightType::Directional && OutOfReach(inView, l.range, bounds, worldView))
            continue;
        float dx = d.x * v[0][0] + d.y * v[1][0] + d.z * v[2][0];
        float dy = d.x * v[0][1] + d.y * v[1][1] + d.z * v[2][1];
        float dz = d.x * v[0][2] + d.y * v[1][2] + d.z * v[2][2];
        float len = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (len > 0 && std::isfinite(len)) {
            dx /= len;
            dy /= len;
            dz /= len;
        }
        Push(out, l.diffuse);
        Push(out, l.specular);
        Push(out, l.ambient);
        Push(out, px, py, pz, float(static_cast<uint32_t>(l.type)));
        Push(out, dx, dy, dz, l.range);
        Push(out, l.attenuation0, l.attenuation1, l.attenuation2, l.falloff);
        Push(out, std::cos(l.theta * 0.5f), std::cos(l.phi * 0.5f), 0, 0);
        ++count;
    }
    static_assert(kLightVec4s == 7, "PackLights writes seven vec4s per light");
    return count;
}
