#pragma once
// File readers shared by the graphics tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh.h"
#include "test_support.h"

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
    const std::string bytes = ReadFileBytes(p);
    return {bytes.begin(), bytes.end()};
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

// A headless host with a recording device (also as g_pd3dDevice) that must end with no texture
// alive, and a data directory in a fresh temporary folder.
class GfxDataTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        g_pd3dDevice = &device;
        dir = MakeTempDir("gfx");
        SetDataDirectory(dir);
    }
    void TearDown() override {
        EXPECT_EQ(device.LiveTextureCount(), 0u);
        g_pd3dDevice = nullptr;
        std::filesystem::remove_all(dir);
        HeadlessHostTest::TearDown();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(std::filesystem::path(dir) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ClearPathCache();
    }

    RecordingBackend backend;
    GfxDevice device{&backend};
    std::string dir;
};

// The same with the texture slots emptied before each test and released after it.
class TextureSlotDataTest : public GfxDataTest {
protected:
    void SetUp() override {
        GfxDataTest::SetUp();
        ClearTextureSlots();
    }
    void TearDown() override {
        ReleaseTextureSlots();
        GfxDataTest::TearDown();
    }
};
