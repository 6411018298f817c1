#include "gfx/x_mesh.h"

#include <algorithm>
#include <cstring>

#include "base/game_file.h"
#include "gfx/xfile_merge.h"
#include "gfx/xfile_mszip.h"
#include "gfx/xfile_parser.h"
#include "gfx/xfile_tokens.h"

void XMeshData::Clear() {
    *this = XMeshData{};
}

void ComputeXMeshNormals(XMeshData& mesh) {
    GenerateXNormals(mesh.vertices, 0, mesh.indices.data(), mesh.indices.size());
}

bool XMeshSubsetIndices16(const XMeshData& mesh, uint32_t subset, std::vector<uint16_t>& out,
                          uint32_t& minIndex, uint32_t& vertexCount) {
    out.clear();
    minIndex = vertexCount = 0;
    if (subset >= mesh.subsets.size() || mesh.subsets[subset].triangleCount == 0) return false;
    const uint32_t* first = mesh.indices.data() + size_t{mesh.subsets[subset].firstTriangle} * 3;
    const uint32_t* last = first + size_t{mesh.subsets[subset].triangleCount} * 3;
    uint32_t lo = *std::min_element(first, last), hi = *std::max_element(first, last);
    if (hi - lo > 0xFFFF) return false;
    out.reserve(last - first);
    for (const uint32_t* p = first; p != last; ++p) out.push_back(static_cast<uint16_t>(*p - lo));
    minIndex = lo;
    vertexCount = hi - lo + 1;
    return true;
}

bool ReadXMesh(const uint8_t* data, size_t size, XMeshData& out, std::string& error) {
    out.Clear();
    error.clear();
    constexpr size_t kHeader = 16;
    if (size < kHeader || std::memcmp(data, "xof ", 4) != 0) {
        error = "not a .x file (no \"xof \" header)";
        return false;
    }
    if (size > kMaxXFileSize) {
        error = "file larger than " + std::to_string(kMaxXFileSize) + " bytes";
        return false;
    }
    std::string_view format(reinterpret_cast<const char*>(data) + 8, 4);
    std::string_view floats(reinterpret_cast<const char*>(data) + 12, 4);
    bool binary = format == "bin " || format == "bzip";
    bool compressed = format == "tzip" || format == "bzip";
    if (!binary && !compressed && format != "txt ") {
        error = "unknown .x format \"" + std::string(format) + "\"";
        return false;
    }
    if (floats != "0032" && floats != "0064") {
        error = "unknown float size \"" + std::string(floats) + "\"";
        return false;
    }
    const uint8_t* body = data + kHeader;
    size_t bodySize = size - kHeader;
    std::vector<uint8_t> inflated;
    if (compressed) {
        if (!InflateXBody(body, bodySize, kMaxXFileSize, inflated, error)) {
            error = "compressed data: " + error;
            return false;
        }
        body = inflated.data();
        bodySize = inflated.size();
    }
    XTokenizer tokens(body, bodySize, binary, floats == "0064");
    XFileScene scene;
    if (!ParseXFile(tokens, scene, error) || !MergeXScene(scene, out, error)) {
        out.Clear();
        return false;
    }
    return true;
}

bool LoadXMeshFile(std::string_view sjisPath, XMeshData& out, std::string& error) {
    out.Clear();
    const FileRead file = ReadGameFile(sjisPath, kMaxXFileSize, LongFile::kRefuse);
    if (file.status == FileStatus::kTooLong) {
        error = std::string(sjisPath) + ": file larger than " + std::to_string(kMaxXFileSize) +
                " bytes";
        return false;
    }
    if (!file.Ok()) {
        error = std::string(sjisPath) + ": cannot open the file";
        return false;
    }
    if (!ReadXMesh(file.Data(), file.bytes.size(), out, error)) {
        error = std::string(sjisPath) + ": " + error;
        return false;
    }
    return true;
}
