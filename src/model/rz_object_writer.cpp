#include "model/rz_object_writer.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/paths.h"
#include "base/sjis.h"
#include "model/rz_last_error.h"
#include "model/rz_object_reader.h"

namespace {

constexpr size_t kMaxBinaryName = 255;
// The tokenizer cuts tokens at 255 characters; a quoted name keeps two for its quotes.
constexpr size_t kMaxAsciiName = 253;

uint8_t Channel(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return 255;
    return static_cast<uint8_t>(std::lround(v * 255.0f));
}

std::string_view Cut(const std::string& s) {
    return std::string_view(s.c_str());  // up to the first NUL, as the readers keep it
}

// Existing bones in slot order (the root first), and the existing animations.
struct ObjectLayout {
    std::vector<int> bones;
    std::vector<int> animations;
    explicit ObjectLayout(const RZ_Model& m) {
        for (int b = 0; b < kRzMaxBones; ++b)
            if (m.bones[b]) bones.push_back(b);
        for (int a = 0; a < kRzMaxAnimations; ++a)
            if (m.animations[a]) animations.push_back(a);
    }
};

bool CheckCommon(const RZ_Model& m, std::string& why) {
    if (!m.bones[0]) return (why = "the model has no root bone"), false;
    if (m.vertices.size() > kRzMaxPoolSize || m.uvs.size() > kRzMaxPoolSize ||
        m.meshes.size() > kRzMaxPoolSize) {
        return (why = "more than 65535 vertices, texture coordinates or meshes"), false;
    }
    if (m.materialCount > kRzMaxMaterials) return (why = "more than 32 materials"), false;
    for (const RZ_Mesh& mesh : m.meshes) {
        if (mesh.faces.size() > kRzMaxPoolSize) return (why = "more than 65535 faces"), false;
        for (const RZ_Face& f : mesh.faces) {
            if (f.cornerCount > kRzMaxCorners) return (why = "a face with over 4 corners"), false;
        }
    }
    return true;
}

// ---- binary ----

class BinaryOut {
public:
    explicit BinaryOut(std::string& out) : out_(out) {}
    void U8(uint32_t v) { out_.push_back(static_cast<char>(v & 0xFF)); }
    void U16(uint32_t v) {
        U8(v);
        U8(v >> 8);
    }
    void F32(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        U16(bits);
        U16(bits >> 16);
    }
    void Vec3(const Vector3& v, float divisor) {
        F32(v.x / divisor);
        F32(v.y / divisor);
        F32(v.z / divisor);
    }
    bool Name(const std::string& s, std::string& why) {
        std::string_view n = Cut(s);
        if (n.size() > kMaxBinaryName) return (why = "a name longer than 255 bytes"), false;
        U8(static_cast<uint32_t>(n.size()));
        out_.append(n);
        return true;
    }
    std::string& out_;
};

bool WriteBinary(const RZ_Model& m, const ObjectLayout& lay, std::string& out, std::string& why) {
    BinaryOut o(out);
    out.append("RZ Object format V02.00 BINARY");
    o.U8(static_cast<uint32_t>(lay.bones.size()));
    o.U8(0);
    for (int b : lay.bones) {
        const RZ_Bone& bone = *m.bones[b];
        o.U8(static_cast<uint32_t>(b));
        if (!o.Name(bone.name, why)) return false;
        o.Vec3(bone.origin, 100.0f);
        o.F32(bone.range);
        o.U8(bone.parent);
        int children = 0;
        for (uint8_t c : bone.children) children += c != 0;
        o.U8(static_cast<uint32_t>(children));
        for (int c = 0; c < kRzMaxChildren; ++c) {
            if (bone.children[c] == 0) continue;
            o.U8(static_cast<uint32_t>(c));
            o.U8(bone.children[c]);
        }
    }
    o.U16(static_cast<uint32_t>(m.vertices.size()));
    for (const RZ_Vertex& v : m.vertices) {
        o.Vec3(v.position, 100.0f);
        o.U8(v.bone0);
        o.U8(v.bone1);
        o.F32(v.weight);
    }
    o.U16(static_cast<uint32_t>(m.uvs.size()));
    for (const RZ_TexCoord& t : m.uvs) {
        o.F32(t.u);
        o.F32(t.v);
    }
    o.U16(static_cast<uint32_t>(m.meshes.size()));
    for (size_t i = 0; i < m.meshes.size(); ++i) {
        const RZ_Mesh& mesh = m.meshes[i];
        o.U16(static_cast<uint32_t>(i));
        o.U8(mesh.visible ? 1 : 0);
        if (!o.Name(mesh.name, why)) return false;
        o.U16(static_cast<uint32_t>(mesh.faces.size()));
        for (const RZ_Face& f : mesh.faces) {
            o.U16(f.cornerCount);
            for (int c = 0; c < f.cornerCount; ++c) {
                o.U16(f.vertexIndex[c]);
                o.U16(f.uvIndex[c]);
            }
            o.U8(f.material);
        }
    }
    o.U8(m.materialCount);
    for (int i = 0; i < m.materialCount; ++i) {
        const RZ_Material& mat = m.materials[i];
        o.U8(Channel(mat.red));
        o.U8(Channel(mat.green));
        o.U8(Channel(mat.blue));
        const std::string& tex = mat.sourceName.empty() ? mat.textureName : mat.sourceName;
        o.U8(Cut(tex).empty() ? 0 : 1);
        if (!Cut(tex).empty() && !o.Name(tex, why)) return false;
    }
    if (lay.animations.size() > 255) return (why = "more than 255 animations"), false;
    o.U8(static_cast<uint32_t>(lay.animations.size()));
    for (int a : lay.animations) {
        const RZ_Animation& anim = *m.animations[a];
        o.U8(static_cast<uint32_t>(a));
        if (!o.Name(anim.name, why)) return false;
        for (int b : lay.bones) {
            o.U8(static_cast<uint32_t>(b));
            const RZ_KeyTrack* track = anim.tracks[b].get();
            const size_t keys = track ? track->keys.size() : 0;
            if (keys > INT16_MAX) return (why = "a track with more than 32767 keys"), false;
            o.U16(static_cast<uint32_t>(keys));
            for (size_t k = 0; k < keys; ++k) {
                const RZ_Key& key = track->keys[k];
                if (key.frame < INT16_MIN || key.frame > INT16_MAX) {
                    return (why = "a key frame outside the 16-bit range"), false;
                }
                o.U16(static_cast<uint32_t>(key.frame));
                o.Vec3(key.position, 100.0f);
                o.F32(key.rotation.x);
                o.F32(key.rotation.y);
                o.F32(key.rotation.z);
                o.F32(key.rotation.w);
                o.Vec3(key.scale, 1.0f);
            }
        }
    }
    return true;
}

// ---- ASCII ----

class TextOut {
public:
    explicit TextOut(std::string& out) : out_(out) {}
    [[gnu::format(printf, 2, 3)]] void Line(const char* format, ...) {
        va_list args;
        va_start(args, format);
        va_list again;
        va_copy(again, args);
        const int n = std::vsnprintf(nullptr, 0, format, args);
        va_end(args);
        if (n > 0) {
            const size_t at = out_.size();
            out_.resize(at + size_t(n) + 1);
            std::vsnprintf(out_.data() + at, size_t(n) + 1, format, again);
            out_.resize(at + size_t(n));
        }
        va_end(again);
        out_.append("\r\n");
    }
    // `prefix` then the name in double quotes.
    bool Named(const char* prefix, const std::string& s, std::string& why) {
        std::string_view n = Cut(s);
        if (n.size() > kMaxAsciiName) return (why = "a name longer than 253 bytes"), false;
        if (n.find('"') != std::string_view::npos) {
            return (why = "a name with a double quote"), false;
        }
        out_.append(prefix);
        out_.append(" \"");
        out_.append(n);
        out_.append("\"\r\n");
        return true;
    }
    std::string& out_;
};

bool SplitsAsToken(std::string_view n) {
    for (char c : n) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '(' || c == ')' ||
            c == '{' || c == '}') {
            return true;
        }
    }
    return n.size() > 255;
}

bool WriteAscii(const RZ_Model& m, const ObjectLayout& lay, std::string& out, std::string& why) {
    TextOut o(out);
    out.append("RZ Object format V02.00 ASCII \r\n\r\n");
    o.Line("Bone {");
    o.Line("\tBoneNum %d", int(lay.bones.size()));
    o.Line("\tRootBone 0");
    for (int b : lay.bones) {
        const RZ_Bone& bone = *m.bones[b];
        o.Line("\tBone %d {", b);
        if (!o.Named("\t\tName", bone.name, why)) return false;
        o.Line("\t\tOrigin %f %f %f", bone.origin.x / 100.0f, bone.origin.y / 100.0f,
               bone.origin.z / 100.0f);
        o.Line("\t\tRange %f", bone.range);
        o.Line("\t\tParentID %d", bone.parent);
        int children = 0;
        for (uint8_t c : bone.children) children += c != 0;
        o.Line("\t\tChildID %d {", children);
        for (int c = 0; c < kRzMaxChildren; ++c) {
            if (bone.children[c] != 0) o.Line("\t\t\t(%d) %d", c, bone.children[c]);
        }
        o.Line("\t\t}");
        o.Line("\t}");
    }
    o.Line("}");
    o.Line("%s", "");
    o.Line("Model {");
    o.Line("\tVertexes %ld {", long(m.vertices.size()));
    for (const RZ_Vertex& v : m.vertices) {
        o.Line("\t\t%f %f %f bone(%d %d %f)", v.position.x / 1000.0f, v.position.y / 1000.0f,
               v.position.z / 1000.0f, v.bone0, v.bone1, v.weight);
    }
    o.Line("\t}");
    o.Line("\tTextureUV %ld {", long(m.uvs.size()));
    for (const RZ_TexCoord& t : m.uvs) o.Line("\t\t%f %f", t.u, t.v);
    o.Line("\t}");
    o.Line("\tMesh {");
    o.Line("\t\tMeshNum %d", int(m.meshes.size()));
    for (size_t i = 0; i < m.meshes.size(); ++i) {
        const RZ_Mesh& mesh = m.meshes[i];
        o.Line("\t\tMesh %ld {", long(i));
        o.Line("\t\t\tVisible %d", mesh.visible ? 1 : 0);
        if (!o.Named("\t\t\tName", mesh.name, why)) return false;
        o.Line("\t\t\tFace %d {", int(mesh.faces.size()));
        for (const RZ_Face& f : mesh.faces) {
            std::string line = "\t\t\t\t" + std::to_string(f.cornerCount);
            for (int c = 0; c < f.cornerCount; ++c) {
                line += " (" + std::to_string(f.vertexIndex[c]) + " " +
                        std::to_string(f.uvIndex[c]) + ")";
            }
            line += " mat(" + std::to_string(f.material) + ")";
            o.Line("%s", line.c_str());
        }
        o.Line("\t\t\t}");
        o.Line("\t\t}");
    }
    o.Line("\t}");
    o.Line("\tMaterial %ld {", long(m.materialCount));
    for (int i = 0; i < m.materialCount; ++i) {
        const RZ_Material& mat = m.materials[i];
        const std::string& tex = mat.sourceName.empty() ? mat.textureName : mat.sourceName;
        const std::string_view name = Cut(tex);
        if (SplitsAsToken(name)) {
            return (why = "a texture name with blanks, quotes or brackets"), false;
        }
        const std::string texture(name);
        if (name.empty()) {
            o.Line("\t\tRGB(%d %d %d) 0", Channel(mat.red), Channel(mat.green), Channel(mat.blue));
        } else {
            o.Line("\t\tRGB(%d %d %d) 1 %s", Channel(mat.red), Channel(mat.green),
                   Channel(mat.blue), texture.c_str());
        }
    }
    o.Line("\t}");
    o.Line("}");
    o.Line("%s", "");
    o.Line("Animation {");
    o.Line("\tAnimNum %d", int(lay.animations.size()));
    for (int a : lay.animations) {
        const RZ_Animation& anim = *m.animations[a];
        o.Line("\tAnim %d {", a);
        if (!o.Named("\t\tName", anim.name, why)) return false;
        for (int b : lay.bones) {
            const RZ_KeyTrack* track = anim.tracks[b].get();
            const size_t keys = track ? track->keys.size() : 0;
            o.Line("\t\tBoneID %d {", b);
            o.Line("\t\t\tFrame %d {", int(keys));
            for (size_t k = 0; k < keys; ++k) {
                const RZ_Key& key = track->keys[k];
                o.Line("\t\t\t\t%d pos(%f %f %f) rot(%f %f %f %f) size(%f %f %f)", key.frame,
                       key.position.x, key.position.y, key.position.z, key.rotation.x,
                       key.rotation.y, key.rotation.z, key.rotation.w, key.scale.x, key.scale.y,
                       key.scale.z);
            }
            o.Line("\t\t\t}");
            o.Line("\t\t}");
        }
        o.Line("\t}");
    }
    o.Line("}");
    return true;
}

}  // namespace

bool WriteRzObject(const RZ_Model& model, RZ_SaveFormat format, std::string& out,
                   std::string& why) {
    out.clear();
    why.clear();
    if (!CheckCommon(model, why)) return false;
    const ObjectLayout layout(model);
    const bool ok = format == RZ_SaveFormat::Ascii ? WriteAscii(model, layout, out, why)
                                                   : WriteBinary(model, layout, out, why);
    if (!ok) out.clear();
    return ok;
}

bool RZ_Model::Save(const char* fileName, RZ_SaveFormat format) const {
    const std::string name = fileName ? fileName : "";
    std::string bytes, why;
    if (!WriteRzObject(*this, format, bytes, why)) {
        RZ_SetLastError(3, RZ_ErrorCodeText(3), __LINE__, "rz_model", why);
        return false;
    }
    FILE* f = OpenGameFile(name, "wb");
    if (!f) {
        RZ_SetLastError(2, RZ_FormatSjis(SJIS("%sを開けません！"), name), __LINE__, "rz_model");
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        RZ_SetLastError(1, RZ_ErrorCodeText(1), __LINE__, "rz_model", "writing failed");
        return false;
    }
    return true;
}
