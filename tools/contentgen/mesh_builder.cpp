#include "mesh_builder.h"

#include <charconv>
#include <cmath>
#include <cstring>

V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
V3 Cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Normalised(V3 a) {
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? a * (1.0f / l) : a;
}

namespace {

constexpr float kPi = 3.14159265f;

}  // namespace

void MeshBuilder::Triangle(V3 a, V3 b, V3 c, const float uv[6], V3 awayFrom) {
    V3 n = Cross(b - a, c - a);
    V3 centre = (a + b + c) * (1.0f / 3.0f);
    float uvs[6];
    std::memcpy(uvs, uv, sizeof uvs);
    if (Dot(n, centre - awayFrom) < 0) {
        std::swap(b, c);
        std::swap(uvs[2], uvs[4]);
        std::swap(uvs[3], uvs[5]);
        n = n * -1.0f;
    }
    n = Normalised(n);
    const uint32_t base = uint32_t(vertices.size());
    vertices.push_back({a, n, uvs[0], uvs[1]});
    vertices.push_back({b, n, uvs[2], uvs[3]});
    vertices.push_back({c, n, uvs[4], uvs[5]});
    triangles.push_back({base, base + 1, base + 2});
}

void MeshBuilder::Quad(V3 a, V3 b, V3 c, V3 d, UvRect r, V3 awayFrom) {
    const float t1[6] = {r.u0, r.v0, r.u1, r.v0, r.u1, r.v1};
    const float t2[6] = {r.u0, r.v0, r.u1, r.v1, r.u0, r.v1};
    Triangle(a, b, c, t1, awayFrom);
    Triangle(a, c, d, t2, awayFrom);
}

void MeshBuilder::Box(V3 lo, V3 hi, UvRect uv) {
    const V3 c = (lo + hi) * 0.5f;
    auto p = [&](int x, int y, int z) {
        return V3{x ? hi.x : lo.x, y ? hi.y : lo.y, z ? hi.z : lo.z};
    };
    Quad(p(0, 1, 0), p(1, 1, 0), p(1, 0, 0), p(0, 0, 0), uv, c);  // -z
    Quad(p(1, 1, 1), p(0, 1, 1), p(0, 0, 1), p(1, 0, 1), uv, c);  // +z
    Quad(p(0, 1, 1), p(0, 1, 0), p(0, 0, 0), p(0, 0, 1), uv, c);  // -x
    Quad(p(1, 1, 0), p(1, 1, 1), p(1, 0, 1), p(1, 0, 0), uv, c);  // +x
    Quad(p(0, 1, 1), p(1, 1, 1), p(1, 1, 0), p(0, 1, 0), uv, c);  // top
    Quad(p(0, 0, 0), p(1, 0, 0), p(1, 0, 1), p(0, 0, 1), uv, c);  // bottom
}

void MeshBuilder::Cylinder(V3 base, float radius, float topRadius, float height, int segments,
                           UvRect side, UvRect cap) {
    const V3 centre = base + V3{0, height * 0.5f, 0};
    const V3 top = base + V3{0, height, 0};
    auto ring = [&](int i, float r, float y) {
        float a = 2.0f * kPi * float(i) / float(segments);
        return base + V3{std::sin(a) * r, y, std::cos(a) * r};
    };
    for (int i = 0; i < segments; ++i) {
        float u0 = side.u0 + (side.u1 - side.u0) * float(i) / float(segments);
        float u1 = side.u0 + (side.u1 - side.u0) * float(i + 1) / float(segments);
        Quad(ring(i, topRadius, height), ring(i + 1, topRadius, height), ring(i + 1, radius, 0),
             ring(i, radius, 0), UvRect{u0, side.v0, u1, side.v1}, centre);
        const float cu = (cap.u0 + cap.u1) * 0.5f, cv = (cap.v0 + cap.v1) * 0.5f;
        const float t[6] = {cu, cv, cap.u0, cap.v0, cap.u1, cap.v1};
        if (topRadius > 0)
            Triangle(top, ring(i, topRadius, height), ring(i + 1, topRadius, height), t, centre);
        Triangle(base, ring(i, radius, 0), ring(i + 1, radius, 0), t, centre);
    }
}

void MeshBuilder::Cone(V3 base, float radius, float height, int segments, UvRect uv) {
    const V3 centre = base + V3{0, height * 0.3f, 0};
    const V3 tip = base + V3{0, height, 0};
    for (int i = 0; i < segments; ++i) {
        float a0 = 2.0f * kPi * float(i) / float(segments);
        float a1 = 2.0f * kPi * float(i + 1) / float(segments);
        V3 p0 = base + V3{std::sin(a0) * radius, 0, std::cos(a0) * radius};
        V3 p1 = base + V3{std::sin(a1) * radius, 0, std::cos(a1) * radius};
        const float t[6] = {(uv.u0 + uv.u1) * 0.5f, uv.v0, uv.u0, uv.v1, uv.u1, uv.v1};
        Triangle(tip, p0, p1, t, centre);
        const float b[6] = {(uv.u0 + uv.u1) * 0.5f, uv.v1, uv.u0, uv.v1, uv.u1, uv.v1};
        Triangle(base, p0, p1, b, centre);
    }
}

void MeshBuilder::Roof(V3 lo, V3 hi, float height, UvRect uv) {
    const float midZ = (lo.z + hi.z) * 0.5f;
    const V3 centre{(lo.x + hi.x) * 0.5f, hi.y + height * 0.3f, midZ};
    const V3 r0{lo.x, hi.y + height, midZ}, r1{hi.x, hi.y + height, midZ};
    Quad(r0, r1, V3{hi.x, hi.y, lo.z}, V3{lo.x, hi.y, lo.z}, uv, centre);
    Quad(r1, r0, V3{lo.x, hi.y, hi.z}, V3{hi.x, hi.y, hi.z}, uv, centre);
    const float t[6] = {(uv.u0 + uv.u1) * 0.5f, uv.v0, uv.u0, uv.v1, uv.u1, uv.v1};
    Triangle(r0, V3{lo.x, hi.y, lo.z}, V3{lo.x, hi.y, hi.z}, t, centre);
    Triangle(r1, V3{hi.x, hi.y, lo.z}, V3{hi.x, hi.y, hi.z}, t, centre);
    Quad(V3{lo.x, hi.y, lo.z}, V3{hi.x, hi.y, lo.z}, V3{hi.x, hi.y, hi.z}, V3{lo.x, hi.y, hi.z}, uv,
         centre + V3{0, height * 2, 0});
}

void MeshBuilder::Place(size_t first, float yawDegrees, V3 offset) {
    const float a = yawDegrees * kPi / 180.0f, s = std::sin(a), c = std::cos(a);
    for (size_t i = first; i < vertices.size(); ++i) {
        Vertex& v = vertices[i];
        v.p = V3{v.p.x * c + v.p.z * s, v.p.y, -v.p.x * s + v.p.z * c} + offset;
        v.n = V3{v.n.x * c + v.n.z * s, v.n.y, -v.n.x * s + v.n.z * c};
    }
}

// ---- writers ----

namespace {

std::string Num(float v) {
    char buf[64];
    if (v == 0.0f) v = 0.0f;  // no "-0.000000"
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return std::string(buf, r.ptr);
}

}  // namespace

std::string WriteXText(const MeshBuilder& m, const XMaterialSpec& mat) {
    std::string s = "xof 0303txt 0032\r\n\r\nMesh {\r\n";
    const size_t nv = m.vertices.size(), nt = m.triangles.size();
    s += " " + std::to_string(nv) + ";\r\n";
    for (size_t i = 0; i < nv; ++i) {
        const V3& p = m.vertices[i].p;
        s += " " + Num(p.x) + ";" + Num(p.y) + ";" + Num(p.z) + ";" + (i + 1 < nv ? "," : ";") +
             "\r\n";
    }
    auto faces = [&]() {
        s += " " + std::to_string(nt) + ";\r\n";
        for (size_t i = 0; i < nt; ++i) {
            const auto& t = m.triangles[i];
            s += " 3;" + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," +
                 std::to_string(t[2]) + ";" + (i + 1 < nt ? "," : ";") + "\r\n";
        }
    };
    faces();
    s += " MeshNormals {\r\n  " + std::to_string(nv) + ";\r\n";
    for (size_t i = 0; i < nv; ++i) {
        const V3& n = m.vertices[i].n;
        s += "  " + Num(n.x) + ";" + Num(n.y) + ";" + Num(n.z) + ";" + (i + 1 < nv ? "," : ";") +
             "\r\n";
    }
    faces();
    s += " }\r\n MeshTextureCoords {\r\n  " + std::to_string(nv) + ";\r\n";
    for (size_t i = 0; i < nv; ++i) {
        s += "  " + Num(m.vertices[i].u) + ";" + Num(m.vertices[i].v) + ";" +
             (i + 1 < nv ? "," : ";") + "\r\n";
    }
    s += " }\r\n MeshMaterialList {\r\n  1;\r\n  " + std::to_string(nt) + ";\r\n";
    for (size_t i = 0; i < nt; ++i) s += std::string("  0") + (i + 1 < nt ? ",\r\n" : ";;\r\n");
    s += "  Material {\r\n   " + Num(mat.red) + ";" + Num(mat.green) + ";" + Num(mat.blue) + ";" +
         Num(mat.alpha) +
         ";;\r\n   0.000000;\r\n   0.000000;0.000000;0.000000;;\r\n"
         "   0.000000;0.000000;0.000000;;\r\n";
    if (!mat.texture.empty())
        s += "   TextureFilename {\r\n    \"" + mat.texture + "\";\r\n   }\r\n";
    s += "  }\r\n }\r\n}\r\n";
    return s;
}

namespace {

class BinaryX {
public:
    explicit BinaryX(std::string& s) : s_(s) {}
    void Word(uint32_t v) {
        s_.push_back(char(v & 255));
        s_.push_back(char((v >> 8) & 255));
    }
    void Dword(uint32_t v) {
        Word(v & 0xFFFF);
        Word(v >> 16);
    }
    void Name(const std::string& n) {
        Word(1);
        Dword(uint32_t(n.size()));
        s_ += n;
    }
    void String(const std::string& n) {
        Word(2);
        Dword(uint32_t(n.size()));
        s_ += n;
        Word(0x14);  // the string's closing ';'
    }
    void Open() { Word(0x0A); }
    void Close() { Word(0x0B); }
    void Ints(const std::vector<uint32_t>& v) {
        Word(6);
        Dword(uint32_t(v.size()));
        for (uint32_t x : v) Dword(x);
    }
    void Floats(const std::vector<float>& v) {
        Word(7);
        Dword(uint32_t(v.size()));
        for (float f : v) {
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            Dword(bits);
        }
    }

private:
    std::string& s_;
};

}  // namespace

std::string WriteXBinary(const MeshBuilder& m, const XMaterialSpec& mat) {
    std::string s = "xof 0303bin 0032";
    BinaryX x(s);
    const uint32_t nv = uint32_t(m.vertices.size()), nt = uint32_t(m.triangles.size());
    std::vector<uint32_t> faces{nt};
    for (const auto& t : m.triangles) faces.insert(faces.end(), {3, t[0], t[1], t[2]});
    std::vector<float> positions, normals, uvs;
    for (const auto& v : m.vertices) {
        positions.insert(positions.end(), {v.p.x, v.p.y, v.p.z});
        normals.insert(normals.end(), {v.n.x, v.n.y, v.n.z});
        uvs.insert(uvs.end(), {v.u, v.v});
    }
    x.Name("Mesh");
    x.Open();
    x.Ints({nv});
    x.Floats(positions);
    x.Ints(faces);
    x.Name("MeshNormals");
    x.Open();
    x.Ints({nv});
    x.Floats(normals);
    x.Ints(faces);
    x.Close();
    x.Name("MeshTextureCoords");
    x.Open();
    x.Ints({nv});
    x.Floats(uvs);
    x.Close();
    x.Name("MeshMaterialList");
    x.Open();
    std::vector<uint32_t> list{1, nt};
    list.insert(list.end(), nt, 0);
    x.Ints(list);
    x.Name("Material");
    x.Open();
    x.Floats({mat.red, mat.green, mat.blue, mat.alpha, 0, 0, 0, 0, 0, 0, 0});
    if (!mat.texture.empty()) {
        x.Name("TextureFilename");
        x.Open();
        x.String(mat.texture);
        x.Close();
    }
    x.Close();
    x.Close();
    x.Close();
    return s;
}
