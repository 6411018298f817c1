#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "mesh_builder.h"

// A small static model as the foreign model formats describe one: named parts (objects, layers)
// of points and faces of 3 or 4 corners, each face with its own texture coordinates and one
// material of a short list. Positions are in the engine's world units (y up, standing on
// y = 0, front toward +z); each writer turns them into its format's axes and scale.
//
// Corners run clockwise seen from outside, so (b - a) x (c - a) points out of the solid, as the
// engine computes face normals. Points may be shared by faces of one part (smooth shading where
// the engine averages normals); parts never share points.

struct PropMaterial {
    std::string name;
    uint8_t red = 255, green = 255, blue = 255;
    bool textured = false;  // drawn with the model's texture (formats that carry one)
};

struct PropFace {
    int corners = 0;  // 3 or 4
    uint32_t index[4] = {};
    float u[4] = {}, v[4] = {};
    int material = 0;
};

struct PropPart {
    std::string name;
    std::vector<V3> points;
    std::vector<PropFace> faces;

    uint32_t Point(V3 p);
    // A face over existing points; uv holds u, v per corner. The corners are turned round when
    // the face would look toward `inside` (a point the face must turn its back on).
    void Face(std::initializer_list<uint32_t> corners, const float (*uv)[2], int material,
              V3 inside);
    // A face with points of its own (flat shading): corners top-left, top-right, bottom-right,
    // bottom-left seen from outside, the rectangle `uv` laid over them the same way.
    void Quad(V3 tl, V3 tr, V3 br, V3 bl, UvRect uv, int material, V3 inside);
    void Triangle(V3 a, V3 b, V3 c, UvRect uv, int material, V3 inside);
    // A box of six flat faces, each showing the whole rectangle upright.
    void Box(V3 min, V3 max, UvRect uv, int material);
    // As Box, with the front (+z) and back (-z) faces showing `faceUv`.
    void Box(V3 min, V3 max, UvRect uv, UvRect faceUv, int material, int faceMaterial);
};

struct PropModel {
    std::vector<PropMaterial> materials;
    std::vector<PropPart> parts;

    // Every point multiplied by s (about the origin, so the feet stay on y = 0).
    void Scale(float s);
    size_t PointCount() const;
    size_t FaceCount() const;
    size_t CornerCount() const;
};
