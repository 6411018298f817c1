#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/x_mesh.h"

class GfxStaticBuffer;
class GfxTexture;

// One static `.x` mesh with one texture per material: field meshes, the battle ground and
// equipment. Only subset 0 is ever drawn, with the first material's texture.
struct XMeshHolder {
    std::unique_ptr<XMeshData> mesh;  // null while the holder is empty
    // One entry per material, null where the material names no texture or it failed to load.
    std::unique_ptr<GfxTexture*[]> textures;
    uint32_t materialCount = 0;
    // What the holder last loaded, as load() was given it; empty once released. A saved game
    // loads it again by these.
    std::string name, directory;

    XMeshHolder() = default;
    ~XMeshHolder() { release(); }
    XMeshHolder(const XMeshHolder&) = delete;
    XMeshHolder& operator=(const XMeshHolder&) = delete;

    // Loads "<base><directory><name>.x" (Shift-JIS, '\' separators; texture names are taken
    // relative to the same directory). Whatever the holder held is released first; a file that
    // is missing or cannot be read leaves it empty.
    void load(const char* name, const char* directory);
    // Stage 0 texture = the first material's texture, then subset 0 as an indexed triangle list,
    // from a static buffer made on the device at the first draw. Transforms and render states
    // are the caller's. An empty holder draws nothing.
    void draw() const;
    // Releases the textures and the mesh; an empty holder is left as it is.
    void release();

private:
    // Subset 0 as 16-bit indices rebased to its lowest vertex, made once at load.
    std::vector<uint16_t> drawIndices_;
    uint32_t drawFirstVertex_ = 0;
    uint32_t drawVertexCount_ = 0;
    // Those vertices and indices on the device that drew them last.
    mutable GfxStaticBuffer* buffer_ = nullptr;
};
