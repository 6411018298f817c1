#pragma once
// Files written and read by the graphics tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/diagnostics.h"
#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh.h"
#include "test_support.h"

// Writes BMP files for the tests: file header, a 40-byte info header, then `extra` (masks or
// palette), a gap of `gap` bytes, and the stored rows as given (bottom row first unless the
// height is negative). The data offset points behind the gap.
struct BmpSpec {
    int32_t width = 4, height = 2;
    uint16_t bits = 24, planes = 1;
    uint32_t compression = 0, colours = 0;
    uint32_t headerSize = 40;
    std::vector<uint8_t> extra{};
    uint32_t gap = 0;
};

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> f(14 + s.headerSize, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&f[at], &v, 2); };
    f[0] = 'B', f[1] = 'M';
    put32(14, s.headerSize);
    put32(18, uint32_t(s.width));
    put32(22, uint32_t(s.height));
    put16(26, s.planes);
    put16(28, s.bits);
    put32(30, s.compression);
    if (s.headerSize >= 40) put32(46, s.colours);
    f.insert(f.end(), s.extra.begin(), s.extra.end());
    f.insert(f.end(), s.gap, 0xEE);
    put32(10, uint32_t(f.size()));
    f.insert(f.end(), rows.begin(), rows.end());
    put32(2, uint32_t(f.size()));
    return f;
}

// Palette entries as blue, green, red, reserved.
inline std::vector<uint8_t> Palette(const std::vector<uint32_t>& rgb) {
    std::vector<uint8_t> out;
    for (uint32_t c : rgb)
        out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
    return out;
}

// Writes DDS files for the tests: a header with the fields given and the payload behind it.
struct DdsSpec {
    uint32_t width = 4, height = 4;
    uint32_t flags = 0x1007;  // caps, height, width, pixel format
    uint32_t pitch = 0, depth = 0, mipCount = 0;
    uint32_t pfFlags = 0x40;  // RGB
    uint32_t fourCC = 0, bits = 32;
    uint32_t r = 0xFF0000, g = 0xFF00, b = 0xFF, a = 0;
    uint32_t caps2 = 0;
    uint32_t headerSize = 124;
};

inline uint32_t TestFourCC(const char* s) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

inline std::vector<uint8_t> MakeDds(const DdsSpec& s, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> f(128, 0);
    std::memcpy(f.data(), "DDS ", 4);
    // (offset, value): the header, the pixel format (32 bytes) and the caps (a texture).
    const std::pair<size_t, uint32_t> fields[] = {
        {4, s.headerSize}, {8, s.flags},     {12, s.height}, {16, s.width},   {20, s.pitch},
        {24, s.depth},     {28, s.mipCount}, {76, 32},       {80, s.pfFlags}, {84, s.fourCC},
        {88, s.bits},      {92, s.r},        {96, s.g},      {100, s.b},      {104, s.a},
        {108, 0x1000},     {112, s.caps2}};
    for (auto [at, v] : fields) std::memcpy(&f[at], &v, 4);
    f.insert(f.end(), payload.begin(), payload.end());
    return f;
}

inline std::vector<uint8_t> Sequence(size_t n, uint8_t start = 1) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(start + i * 7);
    return v;
}

// What `run` writes on standard error with the progress lines on, as --verbose has them.
template <class Run>
std::string VerboseLines(Run run) {
    SetVerbose(true);
    testing::internal::CaptureStderr();
    run();
    std::string said = testing::internal::GetCapturedStderr();
    SetVerbose(false);
    return said;
}

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

// The reason a mesh file is refused for; a refused file leaves the mesh empty.
inline std::string MustRefuse(const std::vector<uint8_t>& file) {
    XMeshData mesh;
    std::string error;
    EXPECT_FALSE(ReadXMesh(file.data(), file.size(), mesh, error));
    EXPECT_TRUE(mesh.vertices.empty() && mesh.materials.empty());
    return error;
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
