#include "model/importers/import_mqo.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/game_file.h"
#include "base/host.h"
#include "base/sjis.h"
#include "model/importers/import_common.h"
#include "model/importers/mqo_tokens.h"
#include "model/material_texture_loader.h"
#include "model/rz_model.h"
#include "model/rz_tokenizer.h"

using namespace foreign;

namespace {

constexpr size_t kMaxObjects = 256;
constexpr float kMqoScale = 1.024f;

bool IsNumber(const std::string& token) {
    size_t used = 0;
    ParseFloat(token, &used);
    return used > 0;
}

class MqoReader {
public:
    MqoReader(RZ_Model& model, GfxDevice* device, void* ownerWindow, std::string_view text,
              size_t start)
        : model_(model),
          device_(device),
          ownerWindow_(ownerWindow),
          text_(text),
          tokens_(text, start) {}

    bool Materials();
    bool Objects();

private:
    bool Fail(const std::string& why) { return ImportFail("mqo: " + why); }
    // The next token, which must be there.
    bool Take(std::string& token, const char* where);
    bool Expect(const char* bracket, const char* where);
    bool Number(long& value, const char* where);
    bool Number(float& value, const char* where);
    // An attribute's "( ... )" that nobody reads.
    bool SkipGroup(const char* where);

    bool Object();
    bool TextVertices(size_t& objectVertices);
    bool BinaryVertices(size_t& objectVertices);
    bool Faces(RZ_Mesh& mesh, size_t objectVertices, size_t firstVertex);
    bool AddVertex(float x, float y, float z);

    RZ_Model& model_;
    GfxDevice* device_;
    void* ownerWindow_;
    std::string_view text_;
    MqoTokens tokens_;
    std::string token_;
    long zeroUv_ = -1;
};

bool MqoReader::Take(std::string& token, const char* where) {
    if (!tokens_.Next(token)) return Fail(std::string("the file ends inside ") + where);
    return true;
}

bool MqoReader::Expect(const char* bracket, const char* where) {
    std::string t;
    if (!Take(t, where)) return false;
    if (t != bracket) return Fail(std::string("'") + bracket + "' expected in " + where);
    return true;
}

bool MqoReader::Number(long& value, const char* where) {
    std::string t;
    if (!Take(t, where)) return false;
    if (!IsNumber(t)) return Fail(std::string("a number expected in ") + where);
    value = ParseLong(t);
    return true;
}

bool MqoReader::Number(float& value, const char* where) {
    std::string t;
    if (!Take(t, where)) return false;
    if (!IsNumber(t)) return Fail(std::string("a number expected in ") + where);
    value = ParseFloat(t);
    return true;
}

bool MqoReader::SkipGroup(const char* where) {
    if (!Expect("(", where)) return false;
    std::string t;
    do {
        if (!Take(t, where)) return false;
    } while (t != ")");
    return true;
}

bool MqoReader::Materials() {
    std::string t;
    while (true) {
        if (!tokens_.Next(t)) {
            ImportBox(SJIS("マテリアル(材質)データを設定して下さい!"), MB_OK | MB_ICONEXCLAMATION);
            return Fail("no Material section");
        }
        if (KeywordIs(t, "Material")) break;
    }
    long count = 0;
    if (!Number(count, "the Material section")) return false;
    if (count >= kRzMaxMaterials) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "マテリアルデータが最大数を超えています。\nマテリアル数 = %ld\n", count);
        return ImportFail(line);
    }
    if (count < 0) return Fail("a negative material count");
    model_.materialCount = static_cast<uint8_t>(count);
    tokens_.Next(t);  // the opening brace

    long index = -1;
    while (true) {
        if (!Take(t, "the Material section")) return false;
        if (t[0] == '}') break;
        const bool current = index >= 0 && index < count;
        RZ_Material* m = current ? &model_.materials[index] : nullptr;
        if (t[0] == '"') {
            // A material's name starts the next material.
        } else if (KeywordIs(t, "col")) {
            float rgba[4];
            if (!Expect("(", "a colour")) return false;
            for (float& v : rgba) {
                if (!Number(v, "a colour")) return false;
            }
            if (!Expect(")", "a colour")) return false;
            if (m) {
                m->red = rgba[0];
                m->green = rgba[1];
                m->blue = rgba[2];
            }
            continue;
        } else if (KeywordIs(t, "dif") || KeywordIs(t, "amb") || KeywordIs(t, "emi") ||
                   KeywordIs(t, "spc") || KeywordIs(t, "power") || KeywordIs(t, "aplane") ||
                   KeywordIs(t, "bump")) {
            tokens_.Next(t);
            tokens_.Next(t);
            tokens_.Next(t);
            continue;
        } else if (KeywordIs(t, "tex")) {
            std::string name;
            if (!Expect("(", "a texture") || !Take(name, "a texture") ||
                !Expect(")", "a texture")) {
                return false;
            }
            if (m && name.size() > 2) {
                LoadMaterialTexture(model_, device_, Unquote(name).c_str(), int(index),
                                    ownerWindow_);
            }
            continue;
        } else if (const std::string* next = tokens_.Peek(); next && *next == "(") {
            // Attributes of later program versions (shader, vcol, proj_pos, ...): their values
            // are not ours, and they must not be taken for the next material.
            if (!SkipGroup("a material attribute")) return false;
            continue;
        }
        if (++index >= count) break;
    }
    return true;
}

bool MqoReader::Objects() {
    std::string t;
    size_t objects = 0;
    while (tokens_.Next(t)) {
        if (!KeywordIs(t, "Object")) continue;
        if (++objects > kMaxObjects) return Fail("more than 256 objects");
        if (!Object()) return false;
    }
    return true;
}

bool MqoReader::AddVertex(float x, float y, float z) {
    if (model_.vertices.size() >= kRzMaxPoolSize) return Fail("more than 65535 vertices");
    RZ_Vertex v;
    v.position = Vector3{x * -kMqoScale, y * kMqoScale, z * kMqoScale};
    model_.vertices.push_back(v);
    return true;
}

bool MqoReader::Object() {
    if (model_.meshes.size() >= kRzMaxPoolSize) return Fail("too many objects");
    model_.meshes.emplace_back();
    RZ_Mesh& mesh = model_.meshes.back();
    std::string name;
    if (!Take(name, "an object")) return false;
    mesh.name = Unquote(name).substr(0, kRzMaxMeshName);
    if (!Expect("{", "an object")) return false;

    const size_t firstVertex = model_.vertices.size();
    size_t objectVertices = 0;
    int depth = 1;
    std::string t;
    while (depth > 0) {
        if (!Take(t, "an object")) return false;
        if (t == "{") {
            ++depth;
        } else if (t == "}") {
            --depth;
        } else if (KeywordIs(t, "visible")) {
            long visible = 0;
            if (!Number(visible, "visible")) return false;
            mesh.visible = visible != 0 ? 1 : 0;
        } else if (KeywordIs(t, "BVertex")) {
            if (!BinaryVertices(objectVertices)) return false;
        } else if (KeywordIs(t, "vertex") && !KeywordIs(t, "vertexattr")) {
            if (!TextVertices(objectVertices)) return false;
        } else if (KeywordIs(t, "face") && !KeywordIs(t, "facet")) {
            if (!Faces(mesh, objectVertices, firstVertex)) return false;
        }
    }
    return true;
}

bool MqoReader::TextVertices(size_t& objectVertices) {
    long n = 0;
    if (!Number(n, "a vertex block")) return false;
    if (n < 0) return Fail("a negative vertex count");
    if (!Expect("{", "a vertex block")) return false;
    for (long i = 0; i < n; ++i) {
        float x, y, z;
        if (!Number(x, "a vertex block") || !Number(y, "a vertex block") ||
            !Number(z, "a vertex block") || !AddVertex(x, y, z)) {
            return false;
        }
    }
    objectVertices += size_t(n);
    return Expect("}", "a vertex block (more vertices than its count)");
}

// "BVertex n { Vector n [bytes]" and, after one line break, n x 3 little-endian floats.
bool MqoReader::BinaryVertices(size_t& objectVertices) {
    long n = 0;
    if (!Number(n, "a BVertex block")) return false;
    std::string t;
    do {
        if (!Take(t, "a BVertex block")) return false;
    } while (!KeywordIs(t, "Vector"));
    long count = 0;
    if (!Number(count, "a BVertex block") || !Take(t, "a BVertex block")) return false;
    const long bytes = t.size() > 1 && t[0] == '[' ? ParseLong(std::string_view(t).substr(1)) : -1;
    if (n < 0 || n > long(kRzMaxPoolSize) || count != n || bytes != n * 12) {
        return Fail("a BVertex block whose counts disagree (" + std::to_string(n) + ", " +
                    std::to_string(count) + ", " + t + ")");
    }
    const size_t start = tokens_.Offset() + 1;
    if (start > text_.size() || size_t(bytes) > text_.size() - start) {
        return Fail("the file ends inside a BVertex block");
    }
    const auto* data = reinterpret_cast<const uint8_t*>(text_.data() + start);
    for (long i = 0; i < n; ++i, data += 12) {
        if (!AddVertex(ReadF32(data), ReadF32(data + 4), ReadF32(data + 8))) return false;
    }
    tokens_.SeekTo(start + size_t(bytes));
    objectVertices += size_t(n);
    return Expect("}", "a BVertex block");
}

// Each face: k V(k vertex numbers) and optionally M(material) and UV(k pairs).
bool MqoReader::Faces(RZ_Mesh& mesh, size_t objectVertices, size_t firstVertex) {
    long n = 0;
    if (!Number(n, "a face block")) return false;
    if (n < 0 || size_t(n) > kRzMaxPoolSize) return Fail("face count " + std::to_string(n));
    if (!Expect("{", "a face block")) return false;
    mesh.faces.reserve(mesh.faces.size() + size_t(n));
    for (long f = 0; f < n; ++f) {
        long k = 0;
        if (!Number(k, "a face")) return false;
        if (k < 2 || k > kRzMaxCorners) {
            return Fail("a face with " + std::to_string(k) + " corners (2 to 4 allowed)");
        }
        if (mesh.faces.size() >= kRzMaxPoolSize) return Fail("more than 65535 faces in an object");
        RZ_Face face;
        face.cornerCount = static_cast<uint16_t>(k);
        std::string t;
        if (!Take(t, "a face") || !KeywordIs(t, "V")) return Fail("V expected in a face");
        if (!Expect("(", "a face")) return false;
        for (long c = 0; c < k; ++c) {
            long v = 0;
            if (!Number(v, "a face")) return false;
            if (v < 0 || size_t(v) >= objectVertices) {
                return Fail("a face names vertex " + std::to_string(v) + " of " +
                            std::to_string(objectVertices));
            }
            face.vertexIndex[c] = static_cast<uint16_t>(firstVertex + size_t(v));
        }
        if (!Expect(")", "a face")) return false;
        bool hasUv = false;
        while (const std::string* next = tokens_.Peek()) {
            if (KeywordIs(*next, "UV")) {
                tokens_.Next(t);
                if (!Expect("(", "a face")) return false;
                for (long c = 0; c < k; ++c) {
                    RZ_TexCoord uv;
                    if (!Number(uv.u, "a face") || !Number(uv.v, "a face")) return false;
                    if (model_.uvs.size() >= kRzMaxPoolSize) {
                        return Fail("more than 65535 texture coordinates");
                    }
                    face.uvIndex[c] = static_cast<uint16_t>(model_.uvs.size());
                    model_.uvs.push_back(uv);
                }
                if (!Expect(")", "a face")) return false;
                hasUv = true;
            } else if (KeywordIs(*next, "M")) {
                tokens_.Next(t);
                long material = 0;
                if (!Expect("(", "a face") || !Number(material, "a face") ||
                    !Expect(")", "a face")) {
                    return false;
                }
                if (material < 0 || material >= kRzMaxMaterials) {
                    return Fail("a face uses material " + std::to_string(material) +
                                " (0 to 31 allowed)");
                }
                face.material = static_cast<uint8_t>(material);
            } else if (*next == "}" || IsNumber(*next)) {
                break;  // the end of the block or the next face's corner count
            } else {
                // Parts of later program versions (vertex colours, creases, ids).
                tokens_.Next(t);
                if (!SkipGroup("a face")) return false;
            }
        }
        if (!hasUv) {
            if (zeroUv_ < 0) {
                if (model_.uvs.size() >= kRzMaxPoolSize) {
                    return Fail("more than 65535 texture coordinates");
                }
                zeroUv_ = AddZeroUv(model_);
            }
            for (long c = 0; c < k; ++c) face.uvIndex[c] = static_cast<uint16_t>(zeroUv_);
        }
        mesh.faces.push_back(face);
    }
    return Expect("}", "a face block (more faces than its count)");
}

}  // namespace

bool ImportMqoText(RZ_Model& model, GfxDevice* device, std::string_view text, void* ownerWindow) {
    model.Reset();
    if (text.substr(0, 20) != "Metasequoia Document") {
        ImportBox(SJIS("MQOﾌｧｲﾙでは、ありません！"), MB_OK);
        return ImportFail("mqo: the file does not begin with Metasequoia Document");
    }
    // The format line after the first is not read.
    size_t start = text.find('\n');
    start = start == std::string_view::npos ? text.size() : text.find('\n', start + 1);
    start = start == std::string_view::npos ? text.size() : start + 1;
    MqoReader reader(model, device, ownerWindow, text, start);
    if (!reader.Materials() || !reader.Objects()) return false;
    FinishImport(model);
    return true;
}

bool ImportMqo(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow) {
    model.Reset();
    std::string text;
    if (!ReadImportFile(fileName, text, "MQOファイルが開けません！")) return false;
    CheckDataText(text, fileName);
    return ImportMqoText(model, device, text, ownerWindow);
}
