#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/device_types.h"

// One vertex as the lit-vertex format lays it out (position, normal, one texture coordinate
// set), so a mesh draws straight from these arrays.
struct XMeshVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float u = 0, v = 0;
};
static_assert(sizeof(XMeshVertex) == 32, "lit vertex layout");

struct XMeshMaterial {
    // Colours as the device takes them. The file gives no ambient colour: it stays 0, as the
    // loader of the original left it. Specular and emissive get alpha 1.
    Material material;
    // Raw bytes as written in the file (Shift-JIS, '\' separators, doubled '\' kept); empty
    // when the material names no texture.
    std::string textureFilename;
};

// Triangles [firstTriangle, firstTriangle + triangleCount) of a subset.
struct XMeshSubset {
    uint32_t firstTriangle = 0;
    uint32_t triangleCount = 0;
};

// Every mesh of a `.x` file merged into one: frame transforms applied, polygons fanned into
// triangles, triangles sorted by subset (file order kept inside a subset). Subset i is drawn
// with material i; material ids of later meshes are offset by the materials of the earlier
// ones, and a mesh without a material list brings one white material.
struct XMeshData {
    std::vector<XMeshVertex> vertices;
    std::vector<uint32_t> indices;     // three per triangle, always 32-bit
    std::vector<XMeshSubset> subsets;  // one per material
    std::vector<XMeshMaterial> materials;
    // What the file itself carried. Meshes without normals get generated ones at once, but a
    // caller that rebuilds normals whenever the file's vertex format was not exactly position +
    // normal + one texture coordinate set (as the original holder did) needs to know.
    bool fileHasNormals = false;
    bool fileHasTexCoords = false;
    bool fileHasVertexColors = false;

    size_t TriangleCount() const { return indices.size() / 3; }
    bool FileIsLitVertexFormat() const {
        return fileHasNormals && fileHasTexCoords && !fileHasVertexColors;
    }
    void Clear();
};

// Limits that keep a hostile file from exhausting memory; real meshes stay far below them.
constexpr size_t kMaxXFileSize = 256u << 20;
constexpr size_t kMaxXMeshVertices = 1u << 24;
constexpr size_t kMaxXMeshTriangles = 1u << 24;
constexpr size_t kMaxXMeshMaterials = 65536;
constexpr int kMaxXFrameDepth = 128;

// Reads a whole `.x` file image: text, binary or compressed, 32- or 64-bit floats. On failure
// returns false, leaves `out` empty and says why in `error` (plain ASCII, no message box: the
// caller decides what the player sees).
bool ReadXMesh(const uint8_t* data, size_t size, XMeshData& out, std::string& error);
// Opens a game path (Shift-JIS, '\' separators) through the case-insensitive resolver.
bool LoadXMeshFile(std::string_view sjisPath, XMeshData& out, std::string& error);

// The triangles of one subset as 16-bit indices for an indexed draw from user memory: indices
// are rebased to the subset's lowest vertex (`minIndex`), so the draw passes
// `&vertices[minIndex]` and `vertexCount` vertices. False when the subset does not exist, is
// empty, or spans more vertices than 16 bits reach.
bool XMeshSubsetIndices16(const XMeshData& mesh, uint32_t subset, std::vector<uint16_t>& out,
                          uint32_t& minIndex, uint32_t& vertexCount);

// Replaces every normal by the normalised sum of the unit normals of the triangles that use
// the vertex (unit, not area-weighted: a sliver counts as much as a large face). Front faces
// are clockwise, so a triangle (a, b, c) faces along (b - a) x (c - a). Vertices that share a
// position but not an index are not merged, so split vertices keep hard edges.
void ComputeXMeshNormals(XMeshData& mesh);
