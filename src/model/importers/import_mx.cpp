#include "model/importers/import_mx.h"

#include <cstdio>
#include <string>

#include "base/host.h"
#include "base/sjis.h"
#include "model/importers/import_common.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"

using namespace foreign;

namespace {

constexpr uint32_t kVersion = 0x100;
constexpr size_t kMxHeaderSize = 32;  // magic, version and six 32-bit values
constexpr size_t kLayerRecord = 60;
constexpr size_t kLayerPolygonCount = 50;  // signed 16-bit
constexpr size_t kLayerFirstPolygon = 52;  // signed 32-bit
constexpr size_t kPolygonRecord = 168;
constexpr size_t kCornerRecord = 16;  // x, y, z and a fourth float nobody uses
constexpr float kMxScale = 0.1f;

bool Fits(size_t offset, size_t length, size_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace

bool ImportMxBytes(RZ_Model& model, std::string_view bytes) {
    model.Reset();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t size = bytes.size();
    if (size < 4 || bytes.substr(0, 4) != std::string_view("MXF\0", 4)) {
        ImportBox(SJIS("MXﾌｧｲﾙでは、ありません！"), MB_OK);
        return ImportFail("mx: the file does not begin with MXF");
    }
    if (size < 8 || ReadU32(data + 4) != kVersion) {
        ImportBox(SJIS("このバージョンは対応していません！"), MB_OK);
        return ImportFail("mx: version " + std::to_string(size < 8 ? 0 : ReadU32(data + 4)) +
                          " (only 256 is read)");
    }
    if (size < kMxHeaderSize) return ImportFail("mx: the header is cut short");
    const uint32_t layerTableSize = ReadU32(data + 8);
    const uint32_t layerTableOffset = ReadU32(data + 12);
    const uint32_t polygonOffset = ReadU32(data + 20);
    const size_t layers = layerTableSize / kLayerRecord;
    if (!Fits(layerTableOffset, layers * kLayerRecord, size)) {
        return ImportFail("mx: the layer table lies outside the file");
    }
    if (layers > kRzMaxPoolSize) return ImportFail("mx: more than 65535 layers");

    // Layers may share polygon records; more records than vertices could ever come from is no
    // model (and would take long to walk).
    size_t records = 0;
    for (size_t l = 0; l < layers; ++l) {
        const int16_t count =
            ReadS16(data + layerTableOffset + l * kLayerRecord + kLayerPolygonCount);
        records += count > 0 ? size_t(count) : 0;
    }
    if (records > kRzMaxPoolSize) {
        return ImportFail("mx: " + std::to_string(records) + " polygons (at most 65535)");
    }

    const uint16_t uv = AddZeroUv(model);
    model.materials[0].red = model.materials[0].green = model.materials[0].blue = 0.5f;
    model.materialCount = 1;
    model.meshes.resize(layers);
    size_t degenerate = 0;
    for (size_t l = 0; l < layers; ++l) {
        const uint8_t* layer = data + layerTableOffset + l * kLayerRecord;
        const int16_t count = ReadS16(layer + kLayerPolygonCount);
        const int32_t first = ReadS32(layer + kLayerFirstPolygon);
        if (count < 0 || first < 0) {
            return ImportFail("mx: layer " + std::to_string(l) + " has a negative polygon count " +
                              "or start");
        }
        const size_t start = size_t(polygonOffset) + size_t(first) * kPolygonRecord;
        if (!Fits(start, size_t(count) * kPolygonRecord, size)) {
            return ImportFail("mx: the polygons of layer " + std::to_string(l) +
                              " lie outside the file");
        }
        RZ_Mesh& mesh = model.meshes[l];
        mesh.visible = 1;
        char name[32];
        std::snprintf(name, sizeof name, "%zu", l);
        mesh.name = SJIS("ﾚｲﾔｰ[") + name + "]";
        mesh.faces.reserve(size_t(count));
        for (int p = 0; p < count; ++p) {
            const uint8_t* polygon = data + start + size_t(p) * kPolygonRecord;
            RZ_Face face;
            Vector3 previous;
            for (int c = 0; c < kRzMaxCorners; ++c) {
                const uint8_t* corner = polygon + size_t(c) * kCornerRecord;
                const Vector3 position{ReadF32(corner) * -kMxScale, ReadF32(corner + 4) * kMxScale,
                                       ReadF32(corner + 8) * kMxScale};
                // A repeated corner closes the polygon early: triangles are stored this way.
                if (c > 0 && position.x == previous.x && position.y == previous.y &&
                    position.z == previous.z) {
                    break;
                }
                previous = position;
                face.vertexIndex[c] = static_cast<uint16_t>(model.vertices.size() + size_t(c));
                face.uvIndex[c] = uv;
                ++face.cornerCount;
            }
            if (face.cornerCount < 2) {
                ++degenerate;  // all corners in one place: nothing to draw
                continue;
            }
            if (model.vertices.size() + face.cornerCount > kRzMaxPoolSize) {
                return ImportFail("mx: more than 65535 corners");
            }
            for (int c = 0; c < face.cornerCount; ++c) {
                const uint8_t* corner = polygon + size_t(c) * kCornerRecord;
                RZ_Vertex v;
                v.position = Vector3{ReadF32(corner) * -kMxScale, ReadF32(corner + 4) * kMxScale,
                                     ReadF32(corner + 8) * kMxScale};
                model.vertices.push_back(v);
            }
            mesh.faces.push_back(face);
        }
    }
    if (degenerate) {
        RZ_DiagLine("mx: " + std::to_string(degenerate) + " polygons with a single point left out");
    }
    FinishImport(model);
    return true;
}

bool ImportMx(RZ_Model& model, const char* fileName, void* /*ownerWindow*/) {
    model.Reset();
    std::string bytes;
    if (!ReadImportFile(fileName, bytes, "MXファイルが開けません！")) return false;
    return ImportMxBytes(model, bytes);
}
