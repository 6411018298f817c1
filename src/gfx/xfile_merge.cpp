#include "gfx/xfile_merge.h"

#include <cmath>
#include <unordered_map>

namespace {

struct Triangle {
    uint32_t a, b, c, subset;
};

Matrix44 Identity() {
    return Matrix44{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

// Row vectors: a x b applies a first.
Matrix44 Multiply(const Matrix44& a, const Matrix44& b) {
    Matrix44 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

XMeshMaterial WhiteMaterial() {
    XMeshMaterial m;
    m.material.diffuse = {1, 1, 1, 1};
    return m;
}

XMeshMaterial FromFile(const XFileMaterial& f) {
    XMeshMaterial m;
    m.material = f.material;
    m.textureFilename = f.texture;
    return m;
}

}  // namespace

void GenerateXNormals(std::vector<XMeshVertex>& vertices, size_t firstVertex,
                      const uint32_t* indices, size_t indexCount) {
    for (size_t i = firstVertex; i < vertices.size(); ++i)
        vertices[i].nx = vertices[i].ny = vertices[i].nz = 0;
    for (size_t t = 0; t + 2 < indexCount; t += 3) {
        XMeshVertex& a = vertices[indices[t]];
        XMeshVertex& b = vertices[indices[t + 1]];
        XMeshVertex& c = vertices[indices[t + 2]];
        float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        float len = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (!(len > 0) || !std::isfinite(len)) continue;  // degenerate: no direction to give
        nx /= len, ny /= len, nz /= len;
        for (XMeshVertex* v : {&a, &b, &c}) v->nx += nx, v->ny += ny, v->nz += nz;
    }
    for (size_t i = firstVertex; i < vertices.size(); ++i) {
        XMeshVertex& v = vertices[i];
        float len = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
        if (len > 0 && std::isfinite(len)) v.nx /= len, v.ny /= len, v.nz /= len;
    }
}

bool MergeXScene(const XFileScene& scene, XMeshData& out, std::string& error) {
    out.Clear();
    if (scene.meshes.empty()) {
        error = "the file holds no mesh";
        return false;
    }
    std::vector<Matrix44> world(scene.frames.size());
    for (size_t i = 0; i < scene.frames.size(); ++i) {
        const XFileFrame& f = scene.frames[i];
        world[i] = f.parent < 0 ? f.local : Multiply(f.local, world[f.parent]);
    }

    std::vector<Triangle> triangles;
    out.fileHasNormals = out.fileHasTexCoords = true;
    for (const XFileMesh& mesh : scene.meshes) {
        const Matrix44 m = mesh.frame < 0 ? Identity() : world[mesh.frame];
        const size_t base = out.vertices.size();
        const size_t count = mesh.positions.size() / 3;
        out.fileHasNormals &= mesh.hasNormals;
        out.fileHasTexCoords &= mesh.hasTexCoords;
        out.fileHasVertexColors |= mesh.hasVertexColors;
        if (base + count > kMaxXMeshVertices) {
            error = "the meshes hold too many vertices";
            return false;
        }
        out.vertices.resize(base + count);
        for (size_t i = 0; i < count; ++i) {
            const float* p = &mesh.positions[i * 3];
            XMeshVertex& v = out.vertices[base + i];
            v.x = p[0] * m.m[0][0] + p[1] * m.m[1][0] + p[2] * m.m[2][0] + m.m[3][0];
            v.y = p[0] * m.m[0][1] + p[1] * m.m[1][1] + p[2] * m.m[2][1] + m.m[3][1];
            v.z = p[0] * m.m[0][2] + p[1] * m.m[1][2] + p[2] * m.m[2][2] + m.m[3][2];
            if (mesh.hasTexCoords) v.u = mesh.texCoords[i * 2], v.v = mesh.texCoords[i * 2 + 1];
        }

        // A vertex used with several normals is split: the first normal stays on the vertex,
        // each further one gets a copy appended after the mesh's own vertices.
        std::vector<uint32_t> cornerVertex(mesh.corners.size());
        if (mesh.hasNormals) {
            constexpr uint32_t kUnset = 0xFFFFFFFFu;
            std::vector<uint32_t> firstNormal(count, kUnset);
            std::unordered_map<uint64_t, uint32_t> copies;
            for (size_t k = 0; k < mesh.corners.size(); ++k) {
                uint32_t vi = mesh.corners[k], ni = mesh.normalCorners[k];
                uint32_t target;
                if (firstNormal[vi] == kUnset || firstNormal[vi] == ni) {
                    firstNormal[vi] = ni;
                    target = static_cast<uint32_t>(base + vi);
                } else {
                    uint64_t key = (uint64_t{vi} << 32) | ni;
                    auto it = copies.find(key);
                    if (it == copies.end()) {
                        if (out.vertices.size() >= kMaxXMeshVertices) {
                            error = "the meshes hold too many vertices";
                            return false;
                        }
                        target = static_cast<uint32_t>(out.vertices.size());
                        out.vertices.push_back(out.vertices[base + vi]);
                        copies.emplace(key, target);
                    } else {
                        target = it->second;
                    }
                }
                cornerVertex[k] = target;
                // Normals go through the frame matrix's upper 3x3 as they are, without the
                // inverse transpose or renormalising, as the original loader did: a frame
                // with non-uniform scale tilts them, and lighting with normal normalisation
                // on hides a uniform scale.
                const float* n = &mesh.normals[size_t{ni} * 3];
                XMeshVertex& v = out.vertices[target];
                v.nx = n[0] * m.m[0][0] + n[1] * m.m[1][0] + n[2] * m.m[2][0];
                v.ny = n[0] * m.m[0][1] + n[1] * m.m[1][1] + n[2] * m.m[2][1];
                v.nz = n[0] * m.m[0][2] + n[1] * m.m[1][2] + n[2] * m.m[2][2];
            }
        } else {
            for (size_t k = 0; k < mesh.corners.size(); ++k)
                cornerVertex[k] = static_cast<uint32_t>(base + mesh.corners[k]);
        }

        // Polygons become fans around their first corner.
        const uint32_t materialBase = static_cast<uint32_t>(out.materials.size());
        const size_t firstTriangle = triangles.size();
        size_t corner = 0;
        for (size_t f = 0; f < mesh.faceSizes.size(); ++f) {
            uint32_t id = 0;
            if (mesh.hasMaterialList && !mesh.faceMaterials.empty())
                // A short list gives the remaining faces its last material.
                id = f < mesh.faceMaterials.size() ? mesh.faceMaterials[f]
                                                   : mesh.faceMaterials.back();
            const uint32_t n = mesh.faceSizes[f];
            for (uint32_t i = 1; i + 1 < n; ++i)
                triangles.push_back({cornerVertex[corner], cornerVertex[corner + i],
                                     cornerVertex[corner + i + 1], materialBase + id});
            corner += n;
            if (triangles.size() > kMaxXMeshTriangles) {
                error = "the meshes hold too many triangles";
                return false;
            }
        }
        if (!mesh.hasNormals) {
            std::vector<uint32_t> own;
            own.reserve((triangles.size() - firstTriangle) * 3);
            for (size_t t = firstTriangle; t < triangles.size(); ++t)
                own.insert(own.end(), {triangles[t].a, triangles[t].b, triangles[t].c});
            GenerateXNormals(out.vertices, base, own.data(), own.size());
        }

        if (!mesh.hasMaterialList) {
            out.materials.push_back(WhiteMaterial());
        } else {
            for (uint32_t i = 0; i < mesh.materialCount; ++i) {
                if (i >= mesh.materials.size()) {
                    out.materials.push_back(WhiteMaterial());  // listed but never written
                    continue;
                }
                const XMaterialEntry& e = mesh.materials[i];
                if (!e.byName) {
                    out.materials.push_back(FromFile(e.inlineMaterial));
                    continue;
                }
                auto it = scene.namedMaterials.find(e.name);
                if (it == scene.namedMaterials.end()) {
                    error = "material '" + e.name + "' is referred to but never defined";
                    return false;
                }
                out.materials.push_back(FromFile(it->second));
            }
        }
        if (out.materials.size() > kMaxXMeshMaterials) {
            error = "the meshes hold too many materials";
            return false;
        }
    }
    if (triangles.empty()) {
        error = "the file's meshes hold no triangles";
        return false;
    }

    // Counting sort by subset keeps file order inside each subset.
    out.subsets.assign(out.materials.size(), XMeshSubset{});
    for (const Triangle& t : triangles) ++out.subsets[t.subset].triangleCount;
    uint32_t start = 0;
    for (XMeshSubset& s : out.subsets) {
        s.firstTriangle = start;
        start += s.triangleCount;
    }
    std::vector<uint32_t> next(out.subsets.size());
    for (size_t i = 0; i < next.size(); ++i) next[i] = out.subsets[i].firstTriangle;
    out.indices.resize(triangles.size() * 3);
    for (const Triangle& t : triangles) {
        uint32_t at = next[t.subset]++ * 3;
        out.indices[at] = t.a;
        out.indices[at + 1] = t.b;
        out.indices[at + 2] = t.c;
    }
    return true;
}
