#include "mesh_recipes.h"

#include <cmath>

namespace {

// Swatches of the props atlas (see the image recipe "atlas").
enum Prop { kPlaster, kRoof, kWood, kStone, kLeaves, kBark, kWater, kDarkWood, kWindow };
// Swatches of the weapons atlas.
enum Weapon { kSteel, kGold, kLeather, kHaft, kIron, kRed, kBlue };

void House(MeshBuilder& m, float w, float d, float h) {
    m.Box({-w / 2, 0, -d / 2}, {w / 2, h, d / 2}, AtlasSwatch(kPlaster));
    m.Roof({-w / 2 - 40, 0, -d / 2 - 40}, {w / 2 + 40, h, d / 2 + 40}, h * 0.6f,
           AtlasSwatch(kRoof));
    // Door and windows stand a little in front of the wall facing -z (toward the village).
    const float z = -d / 2 - 4;
    m.Box({-60, 0, z - 6}, {60, 200, z}, AtlasSwatch(kDarkWood));
    m.Box({-w / 2 + 50, h * 0.45f, z - 6}, {-w / 2 + 140, h * 0.75f, z}, AtlasSwatch(kWindow));
    m.Box({w / 2 - 140, h * 0.45f, z - 6}, {w / 2 - 50, h * 0.75f, z}, AtlasSwatch(kWindow));
    m.Box({w / 2 - 120, h * 0.9f, -40}, {w / 2 - 60, h * 1.45f, 20},
          AtlasSwatch(kStone));  // chimney
}

void Tree(MeshBuilder& m, float h) {
    m.Cylinder({0, 0, 0}, 0.07f * h, 0.05f * h, 0.45f * h, 6, AtlasSwatch(kBark),
               AtlasSwatch(kBark));
    m.Cone({0, 0.3f * h, 0}, 0.38f * h, 0.45f * h, 8, AtlasSwatch(kLeaves));
    m.Cone({0, 0.55f * h, 0}, 0.28f * h, 0.45f * h, 8, AtlasSwatch(kLeaves));
}

void Well(MeshBuilder& m) {
    m.Cylinder({0, 0, 0}, 150, 150, 110, 10, AtlasSwatch(kStone), AtlasSwatch(kWater));
    m.Box({-140, 110, -12}, {-116, 330, 12}, AtlasSwatch(kWood));
    m.Box({116, 110, -12}, {140, 330, 12}, AtlasSwatch(kWood));
    m.Box({-130, 300, -6}, {130, 316, 6}, AtlasSwatch(kWood));
    m.Roof({-180, 0, -120}, {180, 330, 120}, 90, AtlasSwatch(kRoof));
}

void Rock(MeshBuilder& m, float size, uint32_t seed) {
    // A lumpy frustum: the ring's radii vary with the seed.
    const int n = 7;
    std::vector<float> r(n);
    uint32_t s = seed * 2654435761u + 7u;
    for (float& x : r) {
        s ^= s << 13, s ^= s >> 17, s ^= s << 5;
        x = size * (0.8f + 0.4f * float(s & 255) / 255.0f);
    }
    const V3 centre{0, size * 0.35f, 0};
    for (int i = 0; i < n; ++i) {
        const float a0 = 6.2831853f * float(i) / n, a1 = 6.2831853f * float(i + 1) / n;
        const float r0 = r[size_t(i)], r1 = r[size_t((i + 1) % n)];
        V3 b0{std::sin(a0) * r0, 0, std::cos(a0) * r0}, b1{std::sin(a1) * r1, 0, std::cos(a1) * r1};
        V3 t0{std::sin(a0) * r0 * 0.55f, size * 0.7f, std::cos(a0) * r0 * 0.55f};
        V3 t1{std::sin(a1) * r1 * 0.55f, size * 0.7f, std::cos(a1) * r1 * 0.55f};
        m.Quad(t0, t1, b1, b0, AtlasSwatch(kStone), centre);
        const UvRect uv = AtlasSwatch(kStone);
        const float t[6] = {uv.u0, uv.v0, uv.u1, uv.v0, uv.u1, uv.v1};
        m.Triangle(V3{0, size * 0.8f, 0}, t0, t1, t, centre);
    }
}

void Bridge(MeshBuilder& m, float length, float width) {
    for (int i = 0; i < 8; ++i) {
        const float z0 = -length / 2 + length * float(i) / 8, z1 = z0 + length / 8 - 8;
        const float arch = 60.0f * std::sin(3.14159f * (float(i) + 0.5f) / 8);
        m.Box({-width / 2, arch, z0}, {width / 2, arch + 24, z1}, AtlasSwatch(kWood));
    }
    for (float x : {-width / 2, width / 2 - 20}) {
        m.Box({x, 0, -length / 2}, {x + 20, 140, -length / 2 + 20}, AtlasSwatch(kDarkWood));
        m.Box({x, 0, length / 2 - 20}, {x + 20, 140, length / 2}, AtlasSwatch(kDarkWood));
        m.Box({x, 120, -length / 2}, {x + 20, 140, length / 2}, AtlasSwatch(kDarkWood));
    }
}

void Fence(MeshBuilder& m, float length) {
    for (int i = 0; i <= 4; ++i) {
        const float x = -length / 2 + length * float(i) / 4;
        m.Box({x - 10, 0, -10}, {x + 10, 150, 10}, AtlasSwatch(kWood));
    }
    m.Box({-length / 2, 60, -6}, {length / 2, 80, 6}, AtlasSwatch(kWood));
    m.Box({-length / 2, 110, -6}, {length / 2, 130, 6}, AtlasSwatch(kWood));
}

// Equipment hangs from its bone: the grip at the origin, the blade along +y.
void Sword(MeshBuilder& m, float blade) {
    m.Box({-8, -70, -8}, {8, 0, 8}, AtlasSwatch(kLeather));
    m.Box({-40, 0, -10}, {40, 14, 10}, AtlasSwatch(kGold));
    m.Box({-12, 14, -3}, {12, blade, 3}, AtlasSwatch(kSteel));
    m.Cone({0, blade, 0}, 12, 30, 4, AtlasSwatch(kSteel));
}

void Axe(MeshBuilder& m, float haft) {
    m.Cylinder({0, -60, 0}, 10, 10, haft + 60, 6, AtlasSwatch(kHaft), AtlasSwatch(kHaft));
    m.Box({0, haft - 90, -5}, {90, haft - 10, 5}, AtlasSwatch(kIron));
}

void Shield(MeshBuilder& m, float radius) {
    m.Cylinder({0, -8, 0}, radius, radius, 16, 10, AtlasSwatch(kBlue), AtlasSwatch(kBlue));
    m.Cylinder({0, 8, 0}, radius * 0.25f, radius * 0.15f, 12, 8, AtlasSwatch(kGold),
               AtlasSwatch(kGold));
}

// The battle ground: a square of ground with low hills around its rim, one picture over it.
void Arena(MeshBuilder& m, float half, int cells) {
    auto height = [&](float x, float z) {
        const float r = std::sqrt(x * x + z * z) / half;
        return r < 0.6f ? 0.0f : (r - 0.6f) * (r - 0.6f) * half * 0.5f;
    };
    const float step = 2 * half / float(cells);
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const float x0 = -half + step * float(i), x1 = x0 + step;
            const float z0 = -half + step * float(j), z1 = z0 + step;
            const UvRect uv{float(i) / float(cells), 1 - float(j + 1) / float(cells),
                            float(i + 1) / float(cells), 1 - float(j) / float(cells)};
            // Far below: every ground face looks up.
            m.Quad({x0, height(x0, z1), z1}, {x1, height(x1, z1), z1}, {x1, height(x1, z0), z0},
                   {x0, height(x0, z0), z0}, uv, V3{(x0 + x1) / 2, -1e6f, (z0 + z1) / 2});
        }
    }
}

}  // namespace

UvRect AtlasSwatch(int s) {
    const float u = float(s % 4) * 0.25f, v = float(s / 4) * 0.25f;
    return UvRect{u + 0.01f, v + 0.01f, u + 0.24f, v + 0.24f};
}

bool MakeMesh(const std::string& recipe, Options& o, MeshBuilder& m, const std::string& where,
              int line, Diagnostics& diag) {
    if (recipe == "house") {
        House(m, float(o.Number("width", 640)), float(o.Number("depth", 480)),
              float(o.Number("height", 320)));
    } else if (recipe == "tree") {
        Tree(m, float(o.Number("height", 900)));
    } else if (recipe == "well") {
        Well(m);
    } else if (recipe == "rock") {
        Rock(m, float(o.Number("size", 160)), uint32_t(o.Int("seed", 1)));
    } else if (recipe == "bridge") {
        Bridge(m, float(o.Number("length", 1024)), float(o.Number("width", 400)));
    } else if (recipe == "fence") {
        Fence(m, float(o.Number("length", 1000)));
    } else if (recipe == "sword") {
        Sword(m, float(o.Number("blade", 260)));
    } else if (recipe == "axe") {
        Axe(m, float(o.Number("haft", 220)));
    } else if (recipe == "shield") {
        Shield(m, float(o.Number("radius", 90)));
    } else if (recipe == "arena") {
        Arena(m, float(o.Number("half", 120)), o.Int("cells", 12));
    } else {
        diag.Error(where, line, "unknown mesh recipe " + recipe);
        return false;
    }
    return true;
}
