#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/x_mesh.h"
#include "gfx/xfile_parser.h"

// Flattens the frames and merges every mesh of a parsed file into one record.
bool MergeXScene(const XFileScene& scene, XMeshData& out, std::string& error);

// Sets the normals of vertices [firstVertex, end) from the triangles in `indices` (unit face
// normals summed, then normalised); the triangles must only use those vertices.
void GenerateXNormals(std::vector<XMeshVertex>& vertices, size_t firstVertex,
                      const uint32_t* indices, size_t indexCount);
