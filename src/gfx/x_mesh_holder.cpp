#include "gfx/x_mesh_holder.h"

#include <cstdio>
#include <string>

#include "base/diagnostics.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/image_file.h"
#include "gfx/texture.h"

void XMeshHolder::load(const char* name, const char* directory) {
    release();
    this->name = name ? name : "";
    this->directory = directory ? directory : "";
    const std::string base = GetBasePath();
    const std::string dir = directory ? directory : "";
    const std::string path = base + dir + (name ? name : "") + ".x";

    // A missing mesh leaves the holder empty without a word (the resolver logs the name once).
    if (ResolveGamePath(path).empty()) return;
    auto data = std::make_unique<XMeshData>();
    std::string error;
    if (!LoadXMeshFile(path, *data, error)) {
        // The player sees nothing; authors find the reason in the log.
        Diagnose(RunningPlace(), "the mesh " + ShownPath(path) + " is not loaded: " + error);
        return;
    }

    materialCount = static_cast<uint32_t>(data->materials.size());
    textures = std::make_unique<GfxTexture*[]>(materialCount);
    for (uint32_t i = 0; i < materialCount; ++i) {
        textures[i] = nullptr;
        const std::string& file = data->materials[i].textureFilename;
        if (file.empty()) continue;
        CreateTextureFromFile(g_pd3dDevice, base + dir + file, &textures[i]);
    }

    // A file that was not already position + normal + one texture set gets its normals made
    // again, even when it carried some: the original cloned such meshes and rebuilt them.
    if (!data->FileIsLitVertexFormat()) ComputeXMeshNormals(*data);

    if (!XMeshSubsetIndices16(*data, 0, drawIndices_, drawFirstVertex_, drawVertexCount_)) {
        drawIndices_.clear();
        if (!data->subsets.empty() && data->subsets[0].triangleCount > 0)
            Diagnose(RunningPlace(),
                     "the mesh " + ShownPath(path) + ": its first part spans too many vertices");
    }
    mesh = std::move(data);
}

void XMeshHolder::draw() const {
    if (!mesh || !g_pd3dDevice) return;
    g_pd3dDevice->SetTexture(0, materialCount > 0 ? textures[0] : nullptr);
    if (drawIndices_.empty()) return;
    GfxDevice* d = g_pd3dDevice;
    d->SetVertexShader(kFvfLitVertex);
    if (buffer_ && buffer_->Device() != d) {
        buffer_->Release();
        buffer_ = nullptr;
    }
    if (!buffer_ && d->CreateStaticBuffer(&buffer_) == kOk)
        buffer_->Set(&mesh->vertices[drawFirstVertex_], drawVertexCount_, sizeof(XMeshVertex),
                     drawIndices_.data(), static_cast<uint32_t>(drawIndices_.size()));
    if (buffer_)
        d->DrawIndexedPrimitive(PrimitiveType::TriangleList, buffer_, 0,
                                static_cast<uint32_t>(drawIndices_.size() / 3));
}

void XMeshHolder::release() {
    name.clear();
    directory.clear();
    if (!mesh) return;
    for (uint32_t i = 0; i < materialCount; ++i) {
        if (textures[i]) {
            textures[i]->Release();
            textures[i] = nullptr;
        }
    }
    textures.reset();
    materialCount = 0;
    if (buffer_) buffer_->Release();
    buffer_ = nullptr;
    mesh.reset();
    drawIndices_.clear();
    drawFirstVertex_ = drawVertexCount_ = 0;
}
