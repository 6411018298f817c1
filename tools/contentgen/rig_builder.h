#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "mesh_builder.h"
#include "raster.h"

class RZ_Model;
struct RZ_Mesh;

// Shared pieces of the builder's skinned characters: a skeleton from a table of bones, boxes
// skinned to one bone (their top optionally half to the bone above), key-framed poses given as
// rotations in degrees, and a texture of 16 x 16 colour swatches on a 4 x 4 grid.

struct RigBone {
    const char* name;  // null for the root
    int parent;
    float x, y, z;  // origin as a share of the model's height
};

// Bones of the model from the table (entry 0 is the root); each bone lists its children.
void BuildSkeleton(RZ_Model& model, const RigBone* bones, int count, float height);

struct BonePose {
    float rx = 0, ry = 0, rz = 0;  // degrees about x, then y, then z
    V3 offset;
};
using Pose = std::vector<BonePose>;

// A key of every bone at that frame of animation slot `slot`.
void AddPoseKey(RZ_Model& model, int slot, int frame, const Pose& pose);
// Creates animation slot `slot` named `name` with the keys in order.
void AddMotion(RZ_Model& model, int slot, const std::string& name,
               const std::vector<std::pair<int, Pose>>& keys);

// Swatch s of the 4 x 4 grid; flat-coloured parts sample the middle of their square only, so
// filtering never reaches a neighbour (`whole` takes the square, for painted faces).
UvRect SwatchUv(int s, bool whole = false);

struct RigBox {
    V3 lo, hi;
    int bone;
    int blendParent;  // -1: none; else top vertices are shared half and half with this bone
    int swatch;       // sides
    int front;        // the +z face
    bool paintedFront = false;  // the front samples its whole square (a face)
};

// Six outward quads of the box, skinned and textured, appended to the mesh.
void AddRigBox(RZ_Model& model, RZ_Mesh& mesh, const RigBox& box);

// A 64 x 64 texture of up to 16 swatches with a light speckle.
Image SwatchTexture(const std::vector<uint32_t>& colours);
