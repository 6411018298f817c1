#include "model/importers/import_rok.h"

#include <string>
#include <vector>

#include "base/game_file.h"
#include "base/host.h"
#include "base/sjis.h"
#include "model/importers/import_common.h"
#include "model/rz_model.h"

using namespace foreign;

namespace {

constexpr size_t kRokMaxLine = 255;
constexpr int kLinesPerPoint = 8;
constexpr int kLinesPerEdge = 4;
constexpr int kMaterialBlocks = 13;
constexpr int kLinesPerMaterial = 7;
constexpr int kLinesAfterPolygons = 4;

// Lines end at a carriage return only: a line feed belongs to the line (files written with
// CR LF therefore start every line after the first with a line feed, as the data expects).
// A line is cut after kRokMaxLine characters and the rest becomes the next line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && end - pos < kRokMaxLine) ++end;
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
    }
    return lines;
}

bool Begins(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word;
}

// The first line at or after `from` that begins with word; lines.size() when none.
size_t FindLine(const std::vector<std::string_view>& lines, size_t from, std::string_view word) {
    for (size_t i = from; i < lines.size(); ++i) {
        if (Begins(lines[i], word)) return i;
    }
    return lines.size();
}

bool Damaged() {
    ImportBox(SJIS("ﾌｧｲﾙが壊れている可能性があります！"), MB_OK | MB_ICONEXCLAMATION);
    return ImportFail("rok: the file ends before its sections are complete");
}

struct RokLayout {
    size_t pointLine = 0, edgeLine = 0, faceLine = 0;
    size_t points = 0, edges = 0, faces = 0;
};

// First pass: where the sections are and how much each holds.
bool Measure(const std::vector<std::string_view>& lines, RokLayout& l) {
    l.pointLine = FindLine(lines, 0, "POINT");
    if (l.pointLine == lines.size()) return Damaged();
    l.edgeLine = FindLine(lines, l.pointLine + 1, "LINE0");
    if (l.edgeLine == lines.size()) return Damaged();
    l.points = (l.edgeLine - l.pointLine - 1) / kLinesPerPoint;
    l.faceLine = FindLine(lines, l.edgeLine + 1, "FACE0");
    if (l.faceLine == lines.size()) return Damaged();
    l.edges = (l.faceLine - l.edgeLine - 1) / kLinesPerEdge;
    size_t i = l.faceLine + 1;
    while (true) {
        if (i >= lines.size()) return Damaged();
        if (Begins(lines[i], "END00")) break;
        const long n = ParseLong(lines[i]);
        if (n < 2 || n > kRzMaxCorners) {
            return ImportFail("rok: polygon " + std::to_string(l.faces + 1) + " has " +
                              std::to_string(n) + " edges (2 to 4 allowed)");
        }
        i += 3 + size_t(n);
        ++l.faces;
    }
    // The material colours follow the end line.
    if (i + kLinesAfterPolygons + kMaterialBlocks * kLinesPerMaterial > lines.size()) {
        return Damaged();
    }
    return true;
}

}  // namespace

bool ImportRokText(RZ_Model& model, std::string_view text, bool readEdges) {
    model.Reset();
    const std::vector<std::string_view> lines = SplitLines(text);
    RokLayout l;
    if (!Measure(lines, l)) return false;
    if (l.points > kRzMaxPoolSize) {
        return ImportFail("rok: " + std::to_string(l.points) + " points (at most 65535)");
    }
    const size_t faceTotal = l.faces + (readEdges ? l.edges : 0);
    if (faceTotal > kRzMaxPoolSize) {
        return ImportFail("rok: " + std::to_string(faceTotal) + " faces (at most 65535)");
    }

    model.meshes.resize(1);
    RZ_Mesh& mesh = model.meshes[0];
    mesh.visible = 1;
    mesh.name = SJIS("ﾒｯｼｭ[0]");
    mesh.faces.reserve(faceTotal);
    const uint16_t uv = AddZeroUv(model);

    model.vertices.resize(l.points);
    for (size_t p = 0; p < l.points; ++p) {
        const size_t at = l.pointLine + 1 + p * kLinesPerPoint + 5;
        model.vertices[p].position =
            Vector3{ParseFloat(lines[at]), -ParseFloat(lines[at + 1]), -ParseFloat(lines[at + 2])};
    }

    // Edges name points from 1.
    std::vector<RZ_Face> edges(l.edges);
    for (size_t e = 0; e < l.edges; ++e) {
        const size_t at = l.edgeLine + 1 + e * kLinesPerEdge;
        RZ_Face& edge = edges[e];
        edge.cornerCount = 2;
        for (int c = 0; c < 2; ++c) {
            const long point = ParseLong(lines[at + c]);
            if (point < 1 || size_t(point) > l.points) {
                return ImportFail("rok: edge " + std::to_string(e + 1) + " names point " +
                                  std::to_string(point) + " of " + std::to_string(l.points));
            }
            edge.vertexIndex[c] = static_cast<uint16_t>(point - 1);
            edge.uvIndex[c] = uv;
        }
    }
    if (readEdges) mesh.faces = edges;

    // A polygon's corners are the distinct points of its edges in order of first appearance.
    size_t at = l.faceLine + 1;
    for (size_t f = 0; f < l.faces; ++f) {
        const long n = ParseLong(lines[at]);
        const long material = ParseLong(lines[at + 1]);
        if (material < 0 || material >= kRzMaxMaterials) {
            return ImportFail("rok: polygon " + std::to_string(f + 1) + " uses material " +
                              std::to_string(material) + " (0 to 31 allowed)");
        }
        RZ_Face face;
        face.material = static_cast<uint8_t>(material);
        for (long k = 0; k < n; ++k) {
            const long e = ParseLong(lines[at + 3 + size_t(k)]);
            if (e < 1 || size_t(e) > l.edges) {
                return ImportFail("rok: polygon " + std::to_string(f + 1) + " names edge " +
                                  std::to_string(e) + " of " + std::to_string(l.edges));
            }
            for (int c = 0; c < 2; ++c) {
                const uint16_t point = edges[size_t(e) - 1].vertexIndex[c];
                bool seen = false;
                for (int i = 0; i < face.cornerCount; ++i)
                    seen = seen || face.vertexIndex[i] == point;
                if (seen) continue;
                if (face.cornerCount == n) {
                    return ImportFail("rok: the edges of polygon " + std::to_string(f + 1) +
                                      " do not form a ring of " + std::to_string(n) + " points");
                }
                face.vertexIndex[face.cornerCount] = point;
                face.uvIndex[face.cornerCount] = uv;
                ++face.cornerCount;
            }
        }
        if (face.cornerCount < 2) {
            return ImportFail("rok: polygon " + std::to_string(f + 1) + " has a single point");
        }
        mesh.faces.push_back(face);
        at += 3 + size_t(n);
    }

    // `at` is on the end line now.
    at += kLinesAfterPolygons;
    for (int m = 0; m < kMaterialBlocks; ++m, at += kLinesPerMaterial) {
        RZ_Material& material = model.materials[m];
        material.red = float(ParseLong(lines[at])) / 255.0f;
        material.green = float(ParseLong(lines[at + 1])) / 255.0f;
        material.blue = float(ParseLong(lines[at + 2])) / 255.0f;
    }
    model.materialCount = kMaterialBlocks;
    FinishImport(model);
    return true;
}

bool ImportRok(RZ_Model& model, const char* fileName, void* /*ownerWindow*/, bool readEdges) {
    model.Reset();
    std::string text;
    if (!ReadImportFile(fileName, text, "ROKファイルが開けません！")) return false;
    CheckDataText(text, fileName);
    return ImportRokText(model, text, readEdges);
}
