#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gfx/device_types.h"
#include "gfx/xfile_tokens.h"
#include "math/matrix44.h"

// What the reader keeps of a `.x` file before the meshes are merged: frames, meshes in their
// own frame's space and the named materials that mesh material lists may refer to.

struct XFileMaterial {
    Material material;
    std::string texture;  // raw bytes, empty when none
};

// An entry of a mesh material list: a material written inline or a reference `{ Name }`.
struct XMaterialEntry {
    bool byName = false;
    std::string name;
    XFileMaterial inlineMaterial;
};

struct XFileMesh {
    int frame = -1;                   // -1: outside every frame
    std::vector<float> positions;     // x, y, z per vertex
    std::vector<uint32_t> faceSizes;  // corners per face
    std::vector<uint32_t> corners;    // vertex index per corner, face after face
    bool hasNormals = false;
    std::vector<float> normals;           // x, y, z per normal
    std::vector<uint32_t> normalCorners;  // normal index per corner, same layout as `corners`
    bool hasTexCoords = false;
    std::vector<float> texCoords;  // u, v per vertex
    bool hasVertexColors = false;
    bool hasMaterialList = false;
    uint32_t materialCount = 0;
    std::vector<uint32_t> faceMaterials;  // may be shorter than the face list
    std::vector<XMaterialEntry> materials;
};

struct XFileFrame {
    int parent = -1;
    Matrix44 local;
};

struct XFileScene {
    std::vector<XFileFrame> frames;  // a parent always comes before its children
    std::vector<XFileMesh> meshes;
    std::map<std::string, XFileMaterial> namedMaterials;  // first definition of a name wins
};

// Reads every data object of the body. Returns false with "<where>: <what>" in `error`.
bool ParseXFile(XTokenizer& tokens, XFileScene& scene, std::string& error);
