#include "foreign_writers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr size_t kMaxPool = 65535;  // vertices, faces, texture coordinates of the model
constexpr int kRokMaterials = 13;
constexpr int kMaxMaterials = 31;
constexpr float kMqoScale = 1.024f;
constexpr float kMxScale = 10.0f;  // the importer keeps a tenth

std::string Channel(uint8_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", double(c) / 255.0);
    return text;
}

// ---- rok: lines ending in a carriage return alone --------------------------------------------

// Edges shared by the polygons of the whole model. A polygon's corners are read back as the
// points of its listed edges in order of first appearance, so its list starts with an edge
// stored in the polygon's own direction: one made for it when its neighbours made all of its
// edges the other way round.
class RokEdges {
public:
    struct Edge {
        uint32_t from, to;
    };
    std::vector<Edge> edges;

    // 1-based edge numbers for the loop of corners.
    std::vector<size_t> Loop(const uint32_t* corners, int count) {
        std::vector<size_t> loop(static_cast<size_t>(count));
        int start = -1;
        for (int k = 0; k < count; ++k) {
            const uint32_t a = corners[k], b = corners[(k + 1) % count];
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            auto it = byPoints_.find(key);
            if (it == byPoints_.end()) it = byPoints_.emplace(key, Add(a, b)).first;
            loop[size_t(k)] = it->second;
            if (start < 0 && edges[it->second - 1].from == a) start = k;
        }
        if (start < 0) {
            start = 0;
            loop[0] = Add(corners[0], corners[1]);
        }
        std::vector<size_t> ordered;
        for (int k = 0; k < count; ++k) ordered.push_back(loop[size_t((start + k) % count)]);
        return ordered;
    }

private:
    size_t Add(uint32_t a, uint32_t b) {
        edges.push_back({a, b});
        return edges.size();
    }
    std::map<std::pair<uint32_t, uint32_t>, size_t> byPoints_;
};

std::string WriteRok(const PropModel& m) {
    std::string out;
    auto line = [&](const std::string& text) { out += text + "\r"; };
    line("POINT");
    for (const PropPart& part : m.parts) {
        for (const V3& p : part.points) {
            for (int i = 0; i < 5; ++i) line("0");
            line(FormatNumber(p.x));
            line(FormatNumber(-p.y));
            line(FormatNumber(-p.z));
        }
    }
    RokEdges edges;
    std::vector<std::vector<size_t>> loops;
    uint32_t first = 0;  // points are numbered over the whole model
    for (const PropPart& part : m.parts) {
        for (const PropFace& f : part.faces) {
            uint32_t corners[4];
            for (int c = 0; c < f.corners; ++c) corners[c] = first + f.index[c];
            loops.push_back(edges.Loop(corners, f.corners));
        }
        first += uint32_t(part.points.size());
    }
    line("LINE0");
    for (const RokEdges::Edge& e : edges.edges) {
        line(std::to_string(e.from + 1));
        line(std::to_string(e.to + 1));
        line("0");
        line("0");
    }
    line("FACE0");
    size_t n = 0;
    for (const PropPart& part : m.parts) {
        for (const PropFace& f : part.faces) {
            line(std::to_string(f.corners));
            line(std::to_string(f.material));
            line("0");
            for (size_t e : loops[n]) line(std::to_string(e));
            ++n;
        }
    }
    // The end line and three more come before the colours.
    line("END00");
    for (int i = 0; i < 3; ++i) line("0");
    for (int i = 0; i < kRokMaterials; ++i) {
        PropMaterial grey{"", 160, 160, 160, false};
        const PropMaterial& mat = size_t(i) < m.materials.size() ? m.materials[size_t(i)] : grey;
        line(std::to_string(mat.red));
        line(std::to_string(mat.green));
        line(std::to_string(mat.blue));
        for (int k = 0; k < 4; ++k) line("0");
    }
    return out;
}

// ---- mqo: a Metasequoia document, CR LF lines ------------------------------------------------

std::string Fixed4(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", double(v + 0.0f));
    return std::strcmp(text, "-0.0000") == 0 ? "0.0000" : text;
}

std::string WriteMqo(const PropModel& m, const std::string& texture) {
    std::string out = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n";
    out +=
        "Scene {\r\n\tpos 0.0000 0.0000 1500.0000\r\n\tlookat 0.0000 0.0000 0.0000\r\n"
        "\thead -0.5236\r\n\tpich 0.5236\r\n\tortho 0\r\n\tzoom2 5.0000\r\n"
        "\tamb 0.250 0.250 0.250\r\n}\r\n";
    out += "Material " + std::to_string(m.materials.size()) + " {\r\n";
    for (const PropMaterial& mat : m.materials) {
        out += "\t\"" + mat.name + "\" col(" + Channel(mat.red) + " " + Channel(mat.green) + " " +
               Channel(mat.blue) +
               " 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)";
        if (mat.textured && !texture.empty()) out += " tex(\"" + texture + "\")";
        out += "\r\n";
    }
    out += "}\r\n";
    for (const PropPart& part : m.parts) {
        out += "Object \"" + part.name + "\" {\r\n";
        out += "\tvisible 15\r\n\tlocking 0\r\n\tshading 1\r\n\tfacet 59.5\r\n";
        out += "\tcolor 0.898 0.498 0.698\r\n\tcolor_type 0\r\n";
        out += "\tvertex " + std::to_string(part.points.size()) + " {\r\n";
        for (const V3& p : part.points) {
            out += "\t\t" + Fixed4(-p.x / kMqoScale) + " " + Fixed4(p.y / kMqoScale) + " " +
                   Fixed4(p.z / kMqoScale) + "\r\n";
        }
        out += "\t}\r\n\tface " + std::to_string(part.faces.size()) + " {\r\n";
        for (const PropFace& f : part.faces) {
            std::string v, uv;
            for (int c = 0; c < f.corners; ++c) {
                if (c) {
                    v += ' ';
                    uv += ' ';
                }
                v += std::to_string(f.index[c]);
                uv += Fixed4(f.u[c]);
                uv += ' ';
                uv += Fixed4(f.v[c]);
            }
            out += "\t\t" + std::to_string(f.corners) + " V(" + v + ") M(" +
                   std::to_string(f.material) + ") UV(" + uv + ")\r\n";
        }
        out += "\t}\r\n}\r\n";
    }
    out += "Eof\r\n";
    return out;
}

// ---- mx: little-endian records ---------------------------------------------------------------

constexpr size_t kMxHeader = 32;
constexpr size_t kMxLayer = 60;
constexpr size_t kMxPolygon = 168;

void PutU32(std::string& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

void PutF32(std::string& out, size_t at, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(out, at, bits);
}

// Header, then the layer table (one layer per part), then the polygons of all layers. A
// polygon has four corners (x, y, z, 1); a triangle repeats its third corner, which ends it.
// The 64 bytes after the corners and the last 8 are written as zeros; the four texture
// coordinate pairs carry the face's, which the importer does not read.
std::string WriteMx(const PropModel& m) {
    const size_t layers = m.parts.size(), polygons = m.FaceCount();
    const size_t polygonStart = kMxHeader + layers * kMxLayer;
    std::string out(polygonStart + polygons * kMxPolygon, '\0');
    std::memcpy(out.data(), "MXF\0", 4);
    PutU32(out, 4, 0x100);
    PutU32(out, 8, uint32_t(layers * kMxLayer));
    PutU32(out, 12, uint32_t(kMxHeader));
    PutU32(out, 16, uint32_t(polygons * kMxPolygon));
    PutU32(out, 20, uint32_t(polygonStart));
    size_t polygon = 0;
    for (size_t l = 0; l < layers; ++l) {
        const PropPart& part = m.parts[l];
        const size_t layer = kMxHeader + l * kMxLayer;
        out[layer + 50] = char(part.faces.size() & 0xFF);
        out[layer + 51] = char((part.faces.size() >> 8) & 0xFF);
        PutU32(out, layer + 52, uint32_t(polygon));
        for (const PropFace& f : part.faces) {
            const size_t at = polygonStart + polygon * kMxPolygon;
            for (int c = 0; c < 4; ++c) {
                const int k = c < f.corners ? c : f.corners - 1;
                const V3 p = part.points[f.index[k]];
                PutF32(out, at + size_t(c) * 16, -p.x * kMxScale);
                PutF32(out, at + size_t(c) * 16 + 4, p.y * kMxScale);
                PutF32(out, at + size_t(c) * 16 + 8, p.z * kMxScale);
                PutF32(out, at + size_t(c) * 16 + 12, 1.0f);
                PutF32(out, at + 128 + size_t(c) * 8, f.u[k]);
                PutF32(out, at + 128 + size_t(c) * 8 + 4, f.v[k]);
            }
            ++polygon;
        }
    }
    return out;
}

// ---- cob: a Caligari trueSpace text file, LF lines -------------------------------------------

// "TYPE Vx.y Id n Parent p Size s" and the chunk's text; the size counts from the header's own
// line end up to the next header.
std::string Chunk(const char* type, const char* version, int id, int parent,
                  const std::string& body) {
    char header[96];
    std::snprintf(header, sizeof header, "%s V%s Id %d Parent %d Size %08zu", type, version, id,
                  parent, body.size() + 1);
    return std::string(header) + "\n" + body;
}

std::string WriteCob(const PropModel& m, const std::string& texture) {
    std::string polh =
        "Name prop\ncenter 0 0 0\nx axis 1 0 0\ny axis 0 1 0\nz axis 0 0 1\nTransform\n"
        "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";
    polh += "World Vertices " + std::to_string(m.PointCount()) + "\n";
    for (const PropPart& part : m.parts)
        for (const V3& p : part.points)  // stored x, z, y: the file's up axis is its third
            polh += FormatNumber(p.x) + " " + FormatNumber(p.z) + " " + FormatNumber(p.y) + "\n";
    // Texture vertices: each distinct pair once, in order of first use.
    std::map<std::pair<float, float>, size_t> uvIndex;
    std::vector<std::pair<float, float>> uvs;
    std::string faces;
    uint32_t first = 0;
    for (const PropPart& part : m.parts) {
        for (const PropFace& f : part.faces) {
            faces += "Face verts " + std::to_string(f.corners) + " flags 0 mat " +
                     std::to_string(f.material) + "\n";
            for (int c = 0; c < f.corners; ++c) {
                const auto key = std::make_pair(f.u[c], f.v[c]);
                auto it = uvIndex.find(key);
                if (it == uvIndex.end()) {
                    it = uvIndex.emplace(key, uvs.size()).first;
                    uvs.push_back(key);
                }
                faces += "<" + std::to_string(first + f.index[c]) + "," +
                         std::to_string(it->second) + "> ";
            }
            faces += "\n";
        }
        first += uint32_t(part.points.size());
    }
    polh += "Texture Vertices " + std::to_string(uvs.size()) + "\n";
    for (const auto& [u, v] : uvs) polh += FormatNumber(u) + " " + FormatNumber(v) + "\n";
    polh += "Faces " + std::to_string(m.FaceCount()) + "\n" + faces + "DrawFlags 0\n";

    std::string out = "Caligari V00.01ALH             \n";
    out += Chunk("PolH", "0.08", 1, 0, polh);
    int id = 2;
    for (size_t i = 0; i < m.materials.size(); ++i) {
        const PropMaterial& mat = m.materials[i];
        std::string body = "mat# " + std::to_string(i) + "\nshader: phong  facet: auto40\n";
        body += "rgb " + FormatNumber(float(mat.red) / 255) + "," +
                FormatNumber(float(mat.green) / 255) + "," + FormatNumber(float(mat.blue) / 255) +
                "\nalpha 1  ka 0.1  ks 0.3  exp 0.2  ior 1\n";
        if (mat.textured && !texture.empty()) {
            body += "texture: " + std::to_string(texture.size()) + texture + "\n";
            body += "offset 0,0 repeats 1,1 flags 2\n";
        }
        out += Chunk("Mat1", "0.06", id++, 1, body);
    }
    out += "END  V1.00 Id 0 Parent 0 Size        0\n";
    return out;
}

}  // namespace

std::string FormatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", double(value));
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

bool WriteForeignModel(const PropModel& m, const std::string& extension, const std::string& texture,
                       std::string& bytes, std::string& why) {
    const bool rok = extension == ".rok", mqo = extension == ".mqo", mx = extension == ".mx",
               cob = extension == ".cob";
    if (!rok && !mqo && !mx && !cob) {
        why = "a prop model is a .rok, .mqo, .mx or .cob file";
        return false;
    }
    if ((rok || mx) && !texture.empty()) {
        why = extension.substr(1) + " files carry no textures";
        return false;
    }
    const size_t limit = rok ? size_t(kRokMaterials) : size_t(kMaxMaterials);
    if (m.materials.size() > limit) {
        why = std::to_string(m.materials.size()) + " materials (" + extension.substr(1) +
              " keeps " + std::to_string(limit) + ")";
        return false;
    }
    const size_t vertices = mx ? m.CornerCount() : m.PointCount();
    if (vertices > kMaxPool || m.FaceCount() > kMaxPool) {
        why = "more than 65535 vertices or faces";
        return false;
    }
    for (const PropPart& part : m.parts) {
        if (mx && part.faces.size() > 32767) {
            why = "a layer of more than 32767 polygons";
            return false;
        }
        for (const PropFace& f : part.faces) {
            if (f.corners < 3 || f.corners > 4 || f.material < 0 ||
                size_t(f.material) >= m.materials.size()) {
                why = "a face of " + std::to_string(f.corners) + " corners or material " +
                      std::to_string(f.material);
                return false;
            }
        }
    }
    bytes = rok ? WriteRok(m) : mqo ? WriteMqo(m, texture) : mx ? WriteMx(m) : WriteCob(m, texture);
    return true;
}
