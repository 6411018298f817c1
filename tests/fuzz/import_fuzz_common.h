#pragma once
// Shared by the fuzz targets of the foreign model importers: a file from the fuzzer goes
// through one importer; a model it accepts must hold only what the model can hold and must draw.
#include <string_view>

#include "model/material_texture_loader.h"
#include "rz_fuzz_common.h"

namespace importfuzz {

// Every texture "loads" as a small texture of the fuzzing device, so drawing switches textures
// and nothing is looked for on disk.
inline uint32_t FakeTexture(GfxDevice* device, const char*, float, GfxTexture** out,
                            PixelFormat format, uint32_t, int32_t, uint32_t) {
    if (!device) return 0;
    device->CreateTexture(2, 2, 1, 0, format, Pool::Managed, out);
    return (2u << 16) | 2u;
}

inline void Setup() {
    rzfuzz::Setup();
    SetMaterialTextureLoader(FakeTexture, [](void*, char*) { return false; });
}

template <typename Import>
void Run(const uint8_t* data, size_t size, Import import) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const fuzz::FreshRun fresh;
    // One model for every input (an importer starts with a reset): building and tearing down
    // its fixed tables took a third of each run.
    static RZ_Model m;
    if (!import(m, fuzz::Device(), text)) return;
    rzfuzz::Check(m.BoneCount() == 1, "an importer made bones");
    m.skinned.resize(m.vertices.size());
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        rzfuzz::Check(m.vertices[i].bone0 == 0 && m.vertices[i].weight == 1.0f, "bound vertex");
        m.skinned[i] = m.vertices[i].position;
    }
    rzfuzz::CheckModel(m);
    m.Draw(fuzz::Device(), 1.0f);
}

}  // namespace importfuzz
