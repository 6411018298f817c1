#include "gfx/d3d.h"
#include "gfx/device.h"
#include "model/rz_model.h"

namespace {

// One lit vertex: position, normal, one texture coordinate set (32 bytes).
struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
static_assert(sizeof(LitVertex) == 32);

constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 2, 3, 0};

}  // namespace

void RZ_Model::Draw(GfxDevice* device, float alpha) {
    UpdateSkin();
    UpdateNormals();
    if (!device) device = g_pd3dDevice;
    if (!device) return;

    Material material;
    material.diffuse = ColorValue{1.0f, 1.0f, 1.0f, alpha};
    material.ambient = ColorValue{1.0f, 1.0f, 1.0f, alpha};
    device->SetVertexShader(kFvfLitVertex);

    const size_t vertexCount = vertices.size();
    const size_t uvCount = uvs.size();
    uint32_t lastMaterial = 255;
    LitVertex corners[kRzMaxCorners];
    for (const RZ_Mesh& mesh : meshes) {
        if (!mesh.visible) continue;
        for (const RZ_Face& f : mesh.faces) {
            const int count = f.cornerCount <= kRzMaxCorners ? f.cornerCount : 0;
            bool inside = true;
            for (int c = 0; c < count; ++c) {
                const uint16_t vi = f.vertexIndex[c];
                if (vi >= vertexCount) {
                    inside = false;
                    break;
                }
                const Vector3& p = skinned[vi];
                const Vector3& n = normals[vi];
                const uint16_t ti = f.uvIndex[c];
                const RZ_TexCoord uv = ti < uvCount ? uvs[ti] : RZ_TexCoord{};
                corners[c] = LitVertex{p.x, p.y, p.z, n.x, n.y, n.z, uv.u, uv.v};
            }
            if (!inside) continue;
            if (f.material != lastMaterial && f.material < kRzMaxMaterials) {
                lastMaterial = f.material;
                device->SetTexture(0, materials[f.material].texture);
                device->SetMaterial(material);
            }
            if (count == 3) {
                device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, corners, sizeof(LitVertex));
            } else if (count == 4) {
                device->DrawIndexedPrimitiveUP(PrimitiveType::TriangleList, 0, 4, 2, kQuadIndices,
                                               corners, sizeof(LitVertex));
            }
        }
    }
}
