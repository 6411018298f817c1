#pragma once
// File readers shared by the graphics tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/x_mesh.h"
#include "test_support.h"

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A mesh file of tests/fixtures/xfile.
inline std::vector<uint8_t> Fixture(const std::string& name) {
    return ReadAll(FixturesDir() + "/xfile/" + name);
}

inline XMeshData MustRead(const std::vector<uint8_t>& file) {
    XMeshData mesh;
    std::string error;
    EXPECT_TRUE(ReadXMesh(file.data(), file.size(), mesh, error)) << error;
    return mesh;
}
