#include "gfx/xfile_parser.h"

#include <cfloat>
#include <cmath>
#include <functional>

#include "base/ascii.h"
#include "gfx/x_mesh.h"

namespace {

// Template names are matched without regard to case (AsciiSameName): exporters write
// "TextureFileName" for "TextureFilename".
class Parser {
public:
    Parser(XTokenizer& tokens, XFileScene& scene, std::string& error)
        : tok_(tokens), scene_(scene), error_(error) {}

    bool Run() {
        for (;;) {
            XToken t = tok_.Next();
            switch (t.kind) {
                case XTokenKind::End:
                    return true;
                case XTokenKind::Separator:
                    continue;
                case XTokenKind::Name:
                    if (t.text == "template") {
                        if (!SkipTemplate()) return false;
                    } else if (!ParseObject(t, -1, 0)) {
                        return false;
                    }
                    continue;
                default:
                    return Unexpected(t, "an object");
            }
        }
    }

private:
    using ChildFn = std::function<bool(const XToken&)>;
    using ReferenceFn = std::function<bool(const std::string&, size_t)>;

    bool Fail(size_t offset, const std::string& what) {
        error_ = tok_.Where(offset) + ": " + what;
        return false;
    }

    bool Unexpected(const XToken& t, const char* expected) {
        if (t.kind == XTokenKind::Bad) return Fail(t.offset, std::string(t.text));
        if (t.kind == XTokenKind::End)
            return Fail(t.offset, std::string("file ends where ") + expected + " was expected");
        std::string got = t.kind == XTokenKind::Name         ? "name '" + std::string(t.text) + "'"
                          : t.kind == XTokenKind::String     ? std::string("a string")
                          : t.kind == XTokenKind::Integer    ? std::string("a number")
                          : t.kind == XTokenKind::Float      ? std::string("a number")
                          : t.kind == XTokenKind::OpenBrace  ? std::string("'{'")
                          : t.kind == XTokenKind::CloseBrace ? std::string("'}'")
                                                             : std::string("a stray symbol");
        return Fail(t.offset, "found " + got + " where " + expected + " was expected");
    }

    XToken NextData() {
        XToken t = tok_.Next();
        while (t.kind == XTokenKind::Separator) t = tok_.Next();
        return t;
    }

    bool ReadUInt(uint32_t& v, const char* what) {
        XToken t = NextData();
        if (t.kind != XTokenKind::Integer) return Unexpected(t, what);
        if (t.integer < 0 || t.integer > 0xFFFFFFFFll)
            return Fail(t.offset, std::string(what) + " out of range");
        v = static_cast<uint32_t>(t.integer);
        return true;
    }

    bool ReadFloat(float& f, const char* what) {
        XToken t = NextData();
        if (t.kind != XTokenKind::Integer && t.kind != XTokenKind::Float)
            return Unexpected(t, what);
        if (!std::isfinite(t.number) || std::fabs(t.number) > FLT_MAX)
            return Fail(t.offset, std::string(what) + " is not a finite single-precision number");
        f = static_cast<float>(t.number);
        return true;
    }

    bool ReadFloats(float* out, size_t n, const char* what) {
        for (size_t i = 0; i < n; ++i)
            if (!ReadFloat(out[i], what)) return false;
        return true;
    }

    // A count is refused before anything is sized by it when the rest of the file cannot
    // hold that many values.
    bool ReadCount(uint32_t& n, uint64_t valuesEach, uint64_t limit, const char* what) {
        size_t at = tok_.Peek().offset;
        if (!ReadUInt(n, what)) return false;
        if (n > limit)
            return Fail(at, std::string(what) + " " + std::to_string(n) + " over the limit");
        if (static_cast<uint64_t>(n) * valuesEach > tok_.MaxValuesLeft())
            return Fail(at, std::string(what) + " " + std::to_string(n) +
                                " is more than the rest of the file holds");
        return true;
    }

    // After the type name: optional object name, optional class id, '{', optional instance id.
    bool OpenObject(std::string* name) {
        XToken t = tok_.Next();
        if (t.kind == XTokenKind::Name) {
            if (name) *name = std::string(t.text);
            t = tok_.Next();
        }
        if (t.kind == XTokenKind::Guid) t = tok_.Next();
        if (t.kind != XTokenKind::OpenBrace) return Unexpected(t, "'{'");
        if (tok_.Peek().kind == XTokenKind::Guid) tok_.Next();
        return true;
    }

    // Skips to the brace that closes the current object; strings, GUIDs and binary lists are
    // whole tokens, so braces inside them do not count.
    bool SkipBody() {
        size_t depth = 1;
        for (;;) {
            XToken t = tok_.Next();
            if (t.kind == XTokenKind::OpenBrace) {
                ++depth;
            } else if (t.kind == XTokenKind::CloseBrace) {
                if (--depth == 0) return true;
            } else if (t.kind == XTokenKind::End || t.kind == XTokenKind::Bad) {
                return Unexpected(t, "'}'");
            }
        }
    }

    bool SkipTemplate() {
        XToken t = tok_.Next();
        if (t.kind != XTokenKind::Name) return Unexpected(t, "a template name");
        t = tok_.Next();
        if (t.kind != XTokenKind::OpenBrace) return Unexpected(t, "'{'");
        return SkipBody();
    }

    // `{ Name }`, `{ Name <id> }` or `{ <id> }`, the '{' already read.
    bool ReadReference(std::string& name, size_t& at) {
        XToken t = tok_.Next();
        at = t.offset;
        name.clear();
        if (t.kind == XTokenKind::Name) {
            name = std::string(t.text);
            t = tok_.Next();
        }
        if (t.kind == XTokenKind::Guid) t = tok_.Next();
        if (t.kind != XTokenKind::CloseBrace) return Unexpected(t, "'}' closing a reference");
        return true;
    }

    // The rest of an object after its own data: child objects and references until '}'. Stray
    // values are passed over, as extra members of an open template would be.
    bool Children(const ChildFn& onChild, const ReferenceFn& onReference) {
        for (;;) {
            XToken t = tok_.Next();
            switch (t.kind) {
                case XTokenKind::CloseBrace:
                    return true;
                case XTokenKind::Name:
                    if (onChild) {
                        if (!onChild(t)) return false;
                    } else if (!OpenObject(nullptr) || !SkipBody()) {
                        return false;
                    }
                    break;
                case XTokenKind::OpenBrace: {
                    std::string name;
                    size_t at;
                    if (!ReadReference(name, at)) return false;
                    if (onReference && !onReference(name, at)) return false;
                    break;
                }
                case XTokenKind::End:
                case XTokenKind::Bad:
                    return Unexpected(t, "'}'");
                default:
                    break;
            }
        }
    }

    bool SkipChild(const XToken&) { return OpenObject(nullptr) && SkipBody(); }

    bool ParseObject(const XToken& type, int frame, int depth) {
        if (depth > kMaxXFrameDepth) return Fail(type.offset, "frames nested too deep");
        std::string name;
        if (!OpenObject(&name)) return false;
        if (AsciiSameName(type.text, "Frame")) return ParseFrame(frame, depth);
        if (AsciiSameName(type.text, "Mesh")) return ParseMesh(frame);
        if (AsciiSameName(type.text, "Material")) {
            XFileMaterial m;
            if (!ParseMaterial(m)) return false;
            if (!name.empty()) scene_.namedMaterials.emplace(name, m);
            return true;
        }
        return SkipBody();
    }

    bool ParseFrame(int parent, int depth) {
        int self = static_cast<int>(scene_.frames.size());
        XFileFrame f;
        f.parent = parent;
        f.local = Matrix44{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
        scene_.frames.push_back(f);
        return Children(
            [&](const XToken& t) {
                if (AsciiSameName(t.text, "FrameTransformMatrix")) {
                    Matrix44 m;
                    if (!OpenObject(nullptr) || !ReadFloats(&m.m[0][0], 16, "a matrix element"))
                        return false;
                    scene_.frames[self].local = m;
                    return Children(nullptr, nullptr);
                }
                return ParseObject(t, self, depth + 1);
            },
            nullptr);
    }

    bool ParseMesh(int frame) {
        XFileMesh mesh;
        mesh.frame = frame;
        uint32_t nVertices, nFaces;
        if (!ReadCount(nVertices, 3, kMaxXMeshVertices, "vertex count")) return false;
        mesh.positions.resize(size_t{nVertices} * 3);
        if (!ReadFloats(mesh.positions.data(), mesh.positions.size(), "a vertex coordinate"))
            return false;
        if (!ReadCount(nFaces, 1, kMaxXMeshTriangles, "face count")) return false;
        if (!ReadFaces(nFaces, nVertices, mesh.faceSizes, mesh.corners, "vertex")) return false;

        bool ok = Children(
            [&](const XToken& t) {
                if (AsciiSameName(t.text, "MeshNormals"))
                    return OpenObject(nullptr) && ParseNormals(mesh);
                if (AsciiSameName(t.text, "MeshTextureCoords"))
                    return OpenObject(nullptr) && ParseTexCoords(mesh);
                if (AsciiSameName(t.text, "MeshMaterialList"))
                    return OpenObject(nullptr) && ParseMaterialList(mesh);
                if (AsciiSameName(t.text, "SkinWeights"))
                    return OpenObject(nullptr) && CheckSkinWeights(nVertices);
                if (AsciiSameName(t.text, "MeshVertexColors")) mesh.hasVertexColors = true;
                return SkipChild(t);
            },
            nullptr);
        if (!ok) return false;
        scene_.meshes.push_back(std::move(mesh));
        return true;
    }

    // Faces as {corner count, corner indices...}; every index below `limit`.
    bool ReadFaces(uint32_t nFaces, uint32_t limit, std::vector<uint32_t>& sizes,
                   std::vector<uint32_t>& corners, const char* what) {
        sizes.reserve(nFaces);
        uint64_t triangles = 0;
        for (uint32_t f = 0; f < nFaces; ++f) {
            uint32_t n;
            if (!ReadCount(n, 1, kMaxXMeshTriangles, "corner count")) return false;
            triangles += n > 2 ? n - 2 : 0;
            if (triangles > kMaxXMeshTriangles)
                return Fail(tok_.Peek().offset, "too many triangles in one mesh");
            sizes.push_back(n);
            for (uint32_t i = 0; i < n; ++i) {
                size_t at = tok_.Peek().offset;
                uint32_t index;
                if (!ReadUInt(index, "a corner index")) return false;
                if (index >= limit)
                    return Fail(at, "face " + std::to_string(f) + " uses " + what + " " +
                                        std::to_string(index) + " of " + std::to_string(limit));
                corners.push_back(index);
            }
        }
        return true;
    }

    bool ParseNormals(XFileMesh& mesh) {
        uint32_t nNormals, nFaces;
        if (!ReadCount(nNormals, 3, kMaxXMeshVertices, "normal count")) return false;
        std::vector<float> normals(size_t{nNormals} * 3);
        if (!ReadFloats(normals.data(), normals.size(), "a normal coordinate")) return false;
        size_t at = tok_.Peek().offset;
        if (!ReadCount(nFaces, 1, kMaxXMeshTriangles, "normal face count")) return false;
        if (nFaces != mesh.faceSizes.size())
            return Fail(at, "normals list " + std::to_string(nFaces) + " faces for a mesh of " +
                                std::to_string(mesh.faceSizes.size()));
        std::vector<uint32_t> sizes, corners;
        if (!ReadFaces(nFaces, nNormals, sizes, corners, "normal")) return false;
        if (sizes != mesh.faceSizes)
            return Fail(at, "normal faces do not have the corners of the mesh faces");
        mesh.hasNormals = true;
        mesh.normals = std::move(normals);
        mesh.normalCorners = std::move(corners);
        return Children(nullptr, nullptr);
    }

    bool ParseTexCoords(XFileMesh& mesh) {
        size_t at = tok_.Peek().offset;
        uint32_t n;
        if (!ReadCount(n, 2, kMaxXMeshVertices, "texture coordinate count")) return false;
        size_t vertices = mesh.positions.size() / 3;
        if (n < vertices)
            return Fail(at, std::to_string(n) + " texture coordinates for " +
                                std::to_string(vertices) + " vertices");
        std::vector<float> uv(size_t{n} * 2);
        if (!ReadFloats(uv.data(), uv.size(), "a texture coordinate")) return false;
        uv.resize(vertices * 2);  // extra coordinates belong to no vertex
        mesh.hasTexCoords = true;
        mesh.texCoords = std::move(uv);
        return Children(nullptr, nullptr);
    }

    bool ParseMaterialList(XFileMesh& mesh) {
        uint32_t nMaterials, nIndices;
        if (!ReadCount(nMaterials, 0, kMaxXMeshMaterials, "material count")) return false;
        size_t at = tok_.Peek().offset;
        if (!ReadCount(nIndices, 1, kMaxXMeshTriangles, "face material count")) return false;
        if (nIndices > mesh.faceSizes.size())
            return Fail(at, std::to_string(nIndices) + " face materials for " +
                                std::to_string(mesh.faceSizes.size()) + " faces");
        std::vector<uint32_t> ids(nIndices);
        for (uint32_t i = 0; i < nIndices; ++i) {
            size_t where = tok_.Peek().offset;
            if (!ReadUInt(ids[i], "a face material")) return false;
            if (ids[i] >= nMaterials)
                return Fail(where, "face " + std::to_string(i) + " uses material " +
                                       std::to_string(ids[i]) + " of " +
                                       std::to_string(nMaterials));
        }
        std::vector<XMaterialEntry> entries;
        bool ok = Children(
            [&](const XToken& t) {
                if (!AsciiSameName(t.text, "Material")) return SkipChild(t);
                std::string name;
                XMaterialEntry e;
                if (!OpenObject(&name) || !ParseMaterial(e.inlineMaterial)) return false;
                if (!name.empty()) scene_.namedMaterials.emplace(name, e.inlineMaterial);
                entries.push_back(std::move(e));
                return true;
            },
            [&](const std::string& name, size_t where) {
                if (name.empty()) return Fail(where, "material reference without a name");
                XMaterialEntry e;
                e.byName = true;
                e.name = name;
                entries.push_back(std::move(e));
                return true;
            });
        if (!ok) return false;
        // A list without materials leaves the mesh as if it had none.
        mesh.hasMaterialList = nMaterials > 0;
        mesh.materialCount = nMaterials;
        mesh.faceMaterials = std::move(ids);
        if (entries.size() > nMaterials) entries.resize(nMaterials);
        mesh.materials = std::move(entries);
        return true;
    }

    bool ParseMaterial(XFileMaterial& m) {
        float c[11];
        if (!ReadFloats(c, 4, "a face colour") || !ReadFloats(c + 4, 1, "the specular power") ||
            !ReadFloats(c + 5, 6, "a specular or emissive colour"))
            return false;
        m.material = Material{};
        m.material.diffuse = {c[0], c[1], c[2], c[3]};
        m.material.power = c[4];
        m.material.specular = {c[5], c[6], c[7], 1.0f};
        m.material.emissive = {c[8], c[9], c[10], 1.0f};
        return Children(
            [&](const XToken& t) {
                if (!AsciiSameName(t.text, "TextureFilename")) return SkipChild(t);
                if (!OpenObject(nullptr)) return false;
                XToken s = NextData();
                if (s.kind != XTokenKind::String) return Unexpected(s, "a texture file name");
                m.texture = std::string(s.text);
                return Children(nullptr, nullptr);
            },
            nullptr);
    }

    // Skin data is not used by a static mesh, but a weight for a vertex the mesh does not
    // have marks the file as damaged.
    bool CheckSkinWeights(uint32_t nVertices) {
        XToken s = NextData();
        if (s.kind != XTokenKind::String) return Unexpected(s, "a bone name");
        uint32_t n;
        if (!ReadCount(n, 2, kMaxXMeshVertices, "skin weight count")) return false;
        for (uint32_t i = 0; i < n; ++i) {
            size_t at = tok_.Peek().offset;
            uint32_t v;
            if (!ReadUInt(v, "a skinned vertex")) return false;
            if (v >= nVertices)
                return Fail(at, "skin weight for vertex " + std::to_string(v) + " of " +
                                    std::to_string(nVertices));
        }
        for (uint32_t i = 0; i < n + 16; ++i) {
            float f;
            if (!ReadFloat(f, "a skin weight or offset matrix element")) return false;
        }
        return Children(nullptr, nullptr);
    }

    XTokenizer& tok_;
    XFileScene& scene_;
    std::string& error_;
};

}  // namespace

bool ParseXFile(XTokenizer& tokens, XFileScene& scene, std::string& error) {
    return Parser(tokens, scene, error).Run();
}
