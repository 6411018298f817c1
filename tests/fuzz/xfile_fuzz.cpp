// `.x` meshes come from authors and modders: any bytes must load or be refused without harm.
// The first byte picks a header so that the fuzzer spends its time on bodies: text, binary
// with 32- or 64-bit floats, compressed binary or text; anything else is taken as a whole file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/x_mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kHeaders[] = {"xof 0303txt 0032", "xof 0303bin 0032",
                                           "xof 0303bin 0064", "xof 0303bzip0032",
                                           "xof 0303tzip0064"};
    constexpr size_t kHeaderCount = sizeof kHeaders / sizeof kHeaders[0];
    std::vector<uint8_t> file;
    if (size > 0 && data[0] < kHeaderCount) {
        file.assign(kHeaders[data[0]], kHeaders[data[0]] + 16);
        file.insert(file.end(), data + 1, data + size);
    } else {
        file.assign(data, data + size);
    }
    XMeshData mesh;
    std::string error;
    if (ReadXMesh(file.data(), file.size(), mesh, error)) {
        // Whatever loads must be self-consistent for the code that draws it.
        for (uint32_t index : mesh.indices)
            if (index >= mesh.vertices.size()) __builtin_trap();
        if (mesh.subsets.size() != mesh.materials.size()) __builtin_trap();
        size_t triangles = 0;
        for (const XMeshSubset& s : mesh.subsets) {
            if (s.firstTriangle != triangles) __builtin_trap();
            triangles += s.triangleCount;
        }
        if (triangles != mesh.TriangleCount()) __builtin_trap();
        ComputeXMeshNormals(mesh);
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
