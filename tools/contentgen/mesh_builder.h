#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Static meshes made of simple solids, written as `.x` files. Every face is turned so that it
// faces away from the centre of the solid it belongs to (front faces are clockwise seen from
// outside, so the normal (b - a) x (c - a) points out), and carries a flat normal. One
// material with one texture: the holder that draws field meshes and equipment uses only the
// first subset and its texture, so each mesh maps its parts onto swatches of one atlas.

struct V3 {
    float x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b);
V3 operator-(V3 a, V3 b);
V3 operator*(V3 a, float s);
V3 Cross(V3 a, V3 b);
float Dot(V3 a, V3 b);
V3 Normalised(V3 a);

// A rectangle of the texture: u0, v0 top-left, u1, v1 bottom-right.
struct UvRect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

class MeshBuilder {
public:
    struct Vertex {
        V3 p, n;
        float u = 0, v = 0;
    };
    std::vector<Vertex> vertices;
    std::vector<std::array<uint32_t, 3>> triangles;

    void Triangle(V3 a, V3 b, V3 c, const float uv[6], V3 awayFrom);
    // Corners in order around the quad; uv maps a -> (u0, v0), b -> (u1, v0), c -> (u1, v1),
    // d -> (u0, v1).
    void Quad(V3 a, V3 b, V3 c, V3 d, UvRect uv, V3 awayFrom);
    void Box(V3 min, V3 max, UvRect uv);
    // Upright cylinder (or a frustum with topRadius != radius) on base, segments around.
    void Cylinder(V3 base, float radius, float topRadius, float height, int segments, UvRect side,
                  UvRect cap);
    // Upright cone (pyramid for few segments) with its point up.
    void Cone(V3 base, float radius, float height, int segments, UvRect uv);
    // Gabled roof over the box [min, max] in x and z, ridge along x, rising by height.
    void Roof(V3 min, V3 max, float height, UvRect uv);

    // Rotates (about y, degrees) and moves every vertex from index `first` on.
    void Place(size_t first, float yawDegrees, V3 offset);
};

struct XMaterialSpec {
    float red = 1, green = 1, blue = 1, alpha = 1;
    std::string texture;  // file name beside the mesh; empty for none
};

// The mesh as a `.x` file, text ("xof 0303txt 0032") or binary ("xof 0303bin 0032").
std::string WriteXText(const MeshBuilder& mesh, const XMaterialSpec& material);
std::string WriteXBinary(const MeshBuilder& mesh, const XMaterialSpec& material);
