#include "prop_model.h"

#include <utility>

uint32_t PropPart::Point(V3 p) {
    points.push_back(p);
    return uint32_t(points.size() - 1);
}

void PropPart::Face(std::initializer_list<uint32_t> corners, const float (*uv)[2], int material,
                    V3 inside) {
    PropFace f;
    f.corners = int(corners.size());
    f.material = material;
    int k = 0;
    for (uint32_t i : corners) {
        f.index[k] = i;
        f.u[k] = uv[k][0];
        f.v[k] = uv[k][1];
        ++k;
    }
    const V3 a = points[f.index[0]], b = points[f.index[1]], c = points[f.index[2]];
    V3 centre{};
    for (int i = 0; i < f.corners; ++i) centre = centre + points[f.index[i]];
    centre = centre * (1.0f / float(f.corners));
    if (Dot(Cross(b - a, c - a), centre - inside) < 0) {
        // Keep the first corner, run the others the other way round.
        const int last = f.corners - 1;
        for (int i = 1; i < last - i + 1; ++i) {
            std::swap(f.index[i], f.index[last - i + 1]);
            std::swap(f.u[i], f.u[last - i + 1]);
            std::swap(f.v[i], f.v[last - i + 1]);
        }
    }
    faces.push_back(f);
}

void PropPart::Quad(V3 tl, V3 tr, V3 br, V3 bl, UvRect r, int material, V3 inside) {
    const float uv[4][2] = {{r.u0, r.v0}, {r.u1, r.v0}, {r.u1, r.v1}, {r.u0, r.v1}};
    const uint32_t a = Point(tl), b = Point(tr), c = Point(br), d = Point(bl);
    Face({a, b, c, d}, uv, material, inside);
}

void PropPart::Triangle(V3 a, V3 b, V3 c, UvRect r, int material, V3 inside) {
    const float uv[3][2] = {{(r.u0 + r.u1) / 2, r.v0}, {r.u1, r.v1}, {r.u0, r.v1}};
    const uint32_t i = Point(a), j = Point(b), k = Point(c);
    Face({i, j, k}, uv, material, inside);
}

void PropPart::Box(V3 lo, V3 hi, UvRect uv, int material) {
    Box(lo, hi, uv, uv, material, material);
}

void PropPart::Box(V3 lo, V3 hi, UvRect uv, UvRect faceUv, int material, int faceMaterial) {
    const V3 c = (lo + hi) * 0.5f;
    auto p = [&](int x, int y, int z) {
        return V3{x ? hi.x : lo.x, y ? hi.y : lo.y, z ? hi.z : lo.z};
    };
    // Top-left first as a viewer outside sees each face (x runs to the left seen from +z).
    Quad(p(1, 1, 1), p(0, 1, 1), p(0, 0, 1), p(1, 0, 1), faceUv, faceMaterial, c);  // +z
    Quad(p(0, 1, 0), p(1, 1, 0), p(1, 0, 0), p(0, 0, 0), faceUv, faceMaterial, c);  // -z
    Quad(p(1, 1, 0), p(1, 1, 1), p(1, 0, 1), p(1, 0, 0), uv, material, c);          // +x
    Quad(p(0, 1, 1), p(0, 1, 0), p(0, 0, 0), p(0, 0, 1), uv, material, c);          // -x
    Quad(p(0, 1, 1), p(1, 1, 1), p(1, 1, 0), p(0, 1, 0), uv, material, c);          // top
    Quad(p(1, 0, 1), p(0, 0, 1), p(0, 0, 0), p(1, 0, 0), uv, material, c);          // bottom
}

void PropModel::Scale(float s) {
    for (PropPart& part : parts)
        for (V3& p : part.points) p = p * s;
}

size_t PropModel::PointCount() const {
    size_t n = 0;
    for (const PropPart& part : parts) n += part.points.size();
    return n;
}

size_t PropModel::FaceCount() const {
    size_t n = 0;
    for (const PropPart& part : parts) n += part.faces.size();
    return n;
}

size_t PropModel::CornerCount() const {
    size_t n = 0;
    for (const PropPart& part : parts)
        for (const PropFace& f : part.faces) n += size_t(f.corners);
    return n;
}
