#include "model/importers/import_cob.h"

#include <cstdio>
#include <string>

#include "base/ascii.h"
#include "model/importers/import_common.h"
#include "model/material_texture_loader.h"
#include "model/rz_model.h"

using namespace foreign;

namespace {

struct ChunkHeader {
    std::string type;
    long major = 0, minor = 0, id = 0, parent = 0, size = 0;
};

bool Fail(const std::string& why) {
    return ImportFail("cob: " + why);
}

// "%s V%d.%d Id %ld Parent %ld Size %ld" at the scanner's position; the position stays when the
// text there is no chunk header.
bool ReadHeader(FormattedInput& s, ChunkHeader& h) {
    const size_t start = s.Position();
    if (s.Word(h.type) && s.Match(" V") && s.Long(h.major) && s.Match(".") && s.Long(h.minor) &&
        s.Match(" Id") && s.Long(h.id) && s.Match(" Parent") && s.Long(h.parent) &&
        s.Match(" Size") && s.Long(h.size)) {
        return true;
    }
    s.SetPosition(start);
    return false;
}

// The next chunk header: here, or at the start of a later line. Chunk sizes written by some
// versions do not match their content (a material's size may count its colour as written by
// another version), so a header is looked for rather than trusted to be at the size's end.
bool FindHeader(FormattedInput& s, ChunkHeader& h) {
    while (!s.AtEnd()) {
        if (ReadHeader(s, h)) return true;
        s.RestOfLine();
    }
    return false;
}

class CobReader {
public:
    CobReader(RZ_Model& model, GfxDevice* device, void* ownerWindow, FormattedInput& s)
        : model_(model), device_(device), ownerWindow_(ownerWindow), s_(s) {}

    bool PolH();
    bool Mat1();

private:
    bool Expect(const char* pattern) {
        if (s_.Match(pattern)) return true;
        return Fail(std::string(s_.AtEnd() ? "the file ends before '" : "'") + pattern +
                    "' expected");
    }
    bool Numbers(float* values, int count, const char* what);
    bool Count(long& n, const char* what);

    RZ_Model& model_;
    GfxDevice* device_;
    void* ownerWindow_;
    FormattedInput& s_;
};

bool CobReader::Numbers(float* values, int count, const char* what) {
    for (int i = 0; i < count; ++i) {
        if (!s_.Float(values[i])) return Fail(std::string("a number expected in ") + what);
    }
    return true;
}

bool CobReader::Count(long& n, const char* what) {
    if (!s_.Long(n)) return Fail(std::string("a count expected after ") + what);
    if (n < 0 || size_t(n) > kRzMaxPoolSize) {
        return Fail(std::string(what) + " " + std::to_string(n) + " (0 to 65535 allowed)");
    }
    return true;
}

bool CobReader::PolH() {
    float ignored[4];
    // The name may hold blanks; it is not kept.
    if (!Expect(" Name")) return false;
    s_.RestOfLine();
    for (const char* axis : {" center", " x axis", " y axis", " z axis"}) {
        if (!Expect(axis) || !Numbers(ignored, 3, axis)) return false;
    }
    if (!Expect(" Transform")) return false;
    for (int row = 0; row < 4; ++row) {
        if (!Numbers(ignored, 4, "the transform")) return false;
    }

    long n = 0;
    if (!Expect(" World Vertices") || !Count(n, "World Vertices")) return false;
    model_.vertices.resize(size_t(n));
    for (RZ_Vertex& v : model_.vertices) {
        float p[3];
        if (!Numbers(p, 3, "the vertices")) return false;
        v.position = Vector3{p[0], p[2], p[1]};
    }
    long m = 0;
    if (!Expect(" Texture Vertices") || !Count(m, "Texture Vertices")) return false;
    model_.uvs.resize(size_t(m));
    for (RZ_TexCoord& uv : model_.uvs) {
        if (!s_.Float(uv.u) || !s_.Float(uv.v)) {
            return Fail("a number expected in the texture vertices");
        }
    }

    long faces = 0;
    if (!Expect(" Faces") || !Count(faces, "Faces")) return false;
    model_.meshes.resize(1);
    RZ_Mesh& mesh = model_.meshes[0];
    mesh.visible = 1;
    mesh.faces.resize(size_t(faces));
    for (RZ_Face& face : mesh.faces) {
        long corners = 0, flags = 0, material = 0;
        if (!Expect(" Face verts") || !s_.Long(corners) || !Expect(" flags") || !s_.Long(flags) ||
            !Expect(" mat") || !s_.Long(material)) {
            return Fail("a face header cannot be read");
        }
        if (material > kRzMaxMaterials - 1) {
            return ImportFail(
                "フェースデータのマテリアル番号が"
                "マテリアル最大数を超えています！");
        }
        if (corners > kRzMaxCorners) return ImportFail("５角形以上のポリゴンが含まれています！");
        if (corners < 2) return Fail("a face with " + std::to_string(corners) + " corners");
        if (material < 0) return Fail("a face with material " + std::to_string(material));
        face.cornerCount = static_cast<uint16_t>(corners);
        face.material = static_cast<uint8_t>(material);
        for (long c = 0; c < corners; ++c) {
            long vi = 0, ti = 0;
            if (!Expect(" <") || !s_.Long(vi) || !Expect(",") || !s_.Long(ti) || !Expect(">")) {
                return Fail("a face corner cannot be read");
            }
            if (vi < 0 || vi >= n || ti < 0 || ti >= m) {
                return Fail("a face corner <" + std::to_string(vi) + "," + std::to_string(ti) +
                            "> outside " + std::to_string(n) + " vertices and " +
                            std::to_string(m) + " texture vertices");
            }
            face.vertexIndex[c] = static_cast<uint16_t>(vi);
            face.uvIndex[c] = static_cast<uint16_t>(ti);
        }
    }
    return true;
}

bool CobReader::Mat1() {
    long index = 0;
    if (!Expect(" mat#") || !s_.Long(index)) return Fail("a material number cannot be read");
    if (index >= kRzMaxMaterials) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "マテリアルデータが最大数を超えています。\nマテリアル数 = %ld\n", index);
        return ImportFail(line);
    }
    if (index < 0) return Fail("material number " + std::to_string(index));
    if (!Expect(" shader:")) return false;
    s_.RestOfLine();
    RZ_Material& material = model_.materials[index];
    if (!Expect(" rgb") || !s_.Float(material.red) || !Expect(",") || !s_.Float(material.green) ||
        !Expect(",") || !s_.Float(material.blue)) {
        return Fail("a material colour cannot be read");
    }
    if (model_.materialCount < index + 1) model_.materialCount = static_cast<uint8_t>(index + 1);
    if (!Expect(" alpha")) return false;
    s_.RestOfLine();

    // The line after is a texture or already the next chunk's header.
    const size_t lineStart = s_.Position();
    s_.SkipSpace();
    if (!s_.Match("texture:")) {
        s_.SetPosition(lineStart);
        return true;
    }
    std::string_view rest = s_.RestOfLine();
    while (!rest.empty() && IsAsciiSpace(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && IsAsciiSpace(rest.back())) rest.remove_suffix(1);
    // The name is written after its length; the length tells where a name with blanks ends.
    std::string name;
    for (size_t digits = 1;
         digits < rest.size() && rest[digits - 1] >= '0' && rest[digits - 1] <= '9'; ++digits) {
        if (ParseLong(rest.substr(0, digits)) == long(rest.size() - digits)) {
            name.assign(rest.substr(digits));
            break;
        }
    }
    if (name.empty()) {
        FormattedInput line(rest);
        long length = 0;
        line.Long(length);
        line.Word(name);
    }
    if (!name.empty()) LoadMaterialTexture(model_, device_, name.c_str(), int(index), ownerWindow_);
    s_.RestOfLine();  // offset, repeats and flags
    return true;
}

// Files opened in text mode read CR LF as a line feed.
std::string TextMode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

bool ImportCobText(RZ_Model& model, GfxDevice* device, std::string_view raw, void* ownerWindow) {
    model.Reset();
    const std::string text = TextMode(raw);
    if (text.compare(0, 8, "Caligari") != 0) return ImportFail("COBファイルじゃないかも？");
    FormattedInput s(text);
    const std::string_view firstLine = s.RestOfLine();
    CobReader reader(model, device, ownerWindow, s);

    ChunkHeader h;
    if (!ReadHeader(s, h)) {
        // "Caligari V00.01BLH": the binary variant.
        if (firstLine.size() > 15 && firstLine[15] == 'B') {
            return Fail("a binary file (only text cob files are read)");
        }
        return Fail("no chunk header after the first line");
    }
    bool havePolH = false;
    long polHId = 0;
    while (true) {
        if (h.type.compare(0, 3, "END") == 0) break;
        // Only a header cut off by the end of the file has nothing after it.
        if (h.size == 0 && s.AtEnd()) return Fail("the file ends inside a chunk header");
        if (h.size == 0) break;
        if (h.size < 0) return Fail("a chunk of negative size");
        const size_t dataStart = s.Position();
        const size_t dataEnd =
            size_t(h.size) <= text.size() - dataStart ? dataStart + size_t(h.size) : text.size();
        if (!havePolH && h.type == "PolH") {
            havePolH = true;
            polHId = h.id;
            if (!reader.PolH()) return false;
            // Whatever the object has after its faces is not read.
            if (dataEnd > s.Position()) s.SetPosition(dataEnd);
        } else if (havePolH && h.type == "Mat1" && h.parent == polHId) {
            if (!reader.Mat1()) return false;
        } else {
            s.SetPosition(dataEnd);
        }
        if (!FindHeader(s, h)) return Fail("the file ends before its END chunk");
    }
    FinishImport(model);
    return true;
}

bool ImportCob(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow) {
    model.Reset();
    std::string text;
    if (!ReadImportFile(fileName, text, "COBファイルが開けません！")) return false;
    return ImportCobText(model, device, text, ownerWindow);
}
