#pragma once
#include <cstdint>
#include <vector>

#include "world/field_info.h"

class GfxDevice;
class GfxStaticBuffer;

// The field's ground quads in one static buffer on the device, so that the whole ground is one
// draw per texture: each shown cell's four corners in field coordinates (corner (x, row) at
// (x * 1024, height, -row * 1024)) and its two triangles, grouped by texture in the order the
// textures first appear going through the cells x by x, row by row (the order the cells were
// drawn one by one). The triangles are those of the cell's strip. A cell split along the other
// diagonal has its triangles wound the other way round, so one culling mode (counter-clockwise)
// serves every cell. Made again only when the field's heights, images, flags, hidden cells or
// ground textures change, or the device does.
class GroundMesh {
public:
    struct Group {
        GfxTexture* texture = nullptr;
        uint32_t firstIndex = 0;
        uint32_t triangles = 0;
    };

    GroundMesh() = default;
    ~GroundMesh() { Release(); }
    GroundMesh(const GroundMesh&) = delete;
    GroundMesh& operator=(const GroundMesh&) = delete;

    // Brings the buffer up to date with `field` on `device`; false when no cell shows ground
    // (or the device cannot make the buffer).
    bool Update(GfxDevice* device, const QFldInfo& field);
    GfxStaticBuffer* Buffer() const { return buffer_; }
    const std::vector<Group>& Groups() const { return groups_; }
    // How often the buffer was filled (tests).
    uint32_t BuildCount() const { return builds_; }
    void Release();

private:
    // What the buffer was made from.
    struct Inputs {
        int16_t height[kFieldGridSize][kFieldGridSize];
        uint8_t cellFlags[kFieldGridSize][kFieldGridSize];
        uint8_t groundImage[kFieldGridSize][kFieldGridSize];
        uint8_t cellEvent[kFieldGridSize][kFieldGridSize];
        GfxTexture* groundTexture[256];
    };
    bool Matches(const QFldInfo& field) const;
    void Remember(const QFldInfo& field);
    void Build(const QFldInfo& field);

    GfxStaticBuffer* buffer_ = nullptr;
    std::vector<Group> groups_;
    Inputs inputs_ = {};
    uint32_t builds_ = 0;
};
