#include "world/ground_mesh.h"

#include <cstring>

#include "gfx/device.h"
#include "gfx/sprite.h"

namespace {

constexpr uint32_t kGroundColour = 0xFFFFFFFF;

// A, B, C, D of a cell, then its triangles as the strip drew them: A B C D split along B-C
// (triangles A B C, B D C); C D A B, split along D-A (C D A, D B A), each wound the other way
// round here.
constexpr uint16_t kPlainTriangles[6] = {0, 1, 2, 1, 3, 2};
constexpr uint16_t kSplitTriangles[6] = {2, 0, 3, 3, 0, 1};

}  // namespace

bool GroundMesh::Matches(const QFldInfo& f) const {
    const Inputs& i = inputs_;
    return std::memcmp(i.height, f.height, sizeof i.height) == 0 &&
           std::memcmp(i.cellFlags, f.cellFlags, sizeof i.cellFlags) == 0 &&
           std::memcmp(i.groundImage, f.groundImage, sizeof i.groundImage) == 0 &&
           std::memcmp(i.cellEvent, f.cellEvent, sizeof i.cellEvent) == 0 &&
           std::memcmp(i.groundTexture, f.groundTexture, sizeof i.groundTexture) == 0;
}

void GroundMesh::Remember(const QFldInfo& f) {
    Inputs& i = inputs_;
    std::memcpy(i.height, f.height, sizeof i.height);
    std::memcpy(i.cellFlags, f.cellFlags, sizeof i.cellFlags);
    std::memcpy(i.groundImage, f.groundImage, sizeof i.groundImage);
    std::memcpy(i.cellEvent, f.cellEvent, sizeof i.cellEvent);
    std::memcpy(i.groundTexture, f.groundTexture, sizeof i.groundTexture);
}

bool GroundMesh::Update(GfxDevice* device, const QFldInfo& field) {
    if (!device) return false;
    if (buffer_ && buffer_->Device() == device && Matches(field)) return !groups_.empty();
    if (!buffer_ || buffer_->Device() != device) {
        Release();
        if (device->CreateStaticBuffer(&buffer_) != kOk) return false;
    }
    Remember(field);
    Build(field);
    return !groups_.empty();
}

void GroundMesh::Build(const QFldInfo& field) {
    ++builds_;
    groups_.clear();
    std::vector<WorldVertex> vertices;
    // Each texture's triangles, in the order the textures first appear.
    std::vector<std::vector<uint16_t>> groupIndices;
    const float s = kFieldCellSize;
    for (int x = 0; x < kGroundCells; ++x) {
        for (int row = 0; row < kGroundCells; ++row) {
            if (field.cellEvent[x][row] & kCellNoGround) continue;
            GfxTexture* texture = field.GroundTextureAt(x, row);
            size_t g = 0;
            while (g < groups_.size() && groups_[g].texture != texture) ++g;
            if (g == groups_.size()) {
                groups_.push_back(Group{texture, 0, 0});
                groupIndices.emplace_back();
            }
            // The image's u runs along -z and v along x.
            const auto base = static_cast<uint16_t>(vertices.size());
            const float x0 = float(x) * s, z0 = -float(row) * s;
            WorldVertex v[4];
            FillWorldVertex(v[0], x0, field.height[x][row], z0, 0, 0, kGroundColour);
            FillWorldVertex(v[1], x0 + s, field.height[x + 1][row], z0, 0, 1, kGroundColour);
            FillWorldVertex(v[2], x0, field.height[x][row + 1], z0 - s, 1, 0, kGroundColour);
            FillWorldVertex(v[3], x0 + s, field.height[x + 1][row + 1], z0 - s, 1, 1,
                            kGroundColour);
            vertices.insert(vertices.end(), v, v + 4);
            const uint16_t* corners =
                (field.cellFlags[x][row] & kCellSplitOther) ? kSplitTriangles : kPlainTriangles;
            for (int k = 0; k < 6; ++k) groupIndices[g].push_back(uint16_t(base + corners[k]));
            groups_[g].triangles += 2;
        }
    }
    std::vector<uint16_t> indices;
    for (size_t g = 0; g < groups_.size(); ++g) {
        groups_[g].firstIndex = uint32_t(indices.size());
        indices.insert(indices.end(), groupIndices[g].begin(), groupIndices[g].end());
    }
    buffer_->Set(vertices.data(), uint32_t(vertices.size()), sizeof(WorldVertex), indices.data(),
                 uint32_t(indices.size()));
}

void GroundMesh::Release() {
    if (buffer_) buffer_->Release();
    buffer_ = nullptr;
    groups_.clear();
    inputs_ = {};
}
