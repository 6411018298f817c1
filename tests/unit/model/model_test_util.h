#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "math/quaternion.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "model/rz_object_reader.h"
#include "test_support.h"

// Dialogs that answer every question box with "yes".
class YesDialogs : public HeadlessDialogs {
public:
    int MessageBox(const std::string&, const std::string&, uint32_t) override { return IDYES; }
};

// A headless host, a device over a recording backend (also as g_pd3dDevice) and a temporary
// data directory for model files.
class ModelTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        device = std::make_unique<GfxDevice>(&backend);
        savedDevice = g_pd3dDevice;
        g_pd3dDevice = device.get();
        dir = MakeTempDir("model");
        SetDataDirectory(dir);
        RZ_SetLastError(0, "", 0, "");
        // Made only now: the root's name is converted with the codec installed above.
        model = std::make_unique<RZ_Model>();
    }
    void TearDown() override {
        model.reset();
        g_pd3dDevice = savedDevice;
        device.reset();
        std::filesystem::remove_all(dir);
        HeadlessHostTest::TearDown();
    }
    // Writes a file under the data directory and returns the game path that names it.
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(std::filesystem::path(dir) / name, std::ios::binary) << bytes;
        ClearPathCache();
        return std::string(GetBasePath()) + name;
    }
    bool LoadBytes(const std::string& name, const std::string& bytes) {
        return model->Load(device.get(), Write(name, bytes).c_str(), nullptr);
    }
    // Only the root is left and nothing else.
    void ExpectReset() const {
        EXPECT_EQ(model->BoneCount(), 1);
        EXPECT_TRUE(model->vertices.empty());
        EXPECT_TRUE(model->meshes.empty());
        EXPECT_EQ(model->materialCount, 0);
        for (int a = 0; a < kRzMaxAnimations; ++a) EXPECT_FALSE(model->HasAnimation(a)) << a;
    }

    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    GfxDevice* savedDevice = nullptr;
    std::unique_ptr<RZ_Model> model;
    std::string dir;
};

inline Quaternion AxisAngle(float x, float y, float z, float radians) {
    const float s = std::sin(radians / 2);
    return Quaternion{x * s, y * s, z * s, std::cos(radians / 2)};
}

inline RZ_Bone& AddBone(RZ_Model& m, int slot, int parent, Vector3 origin) {
    m.bones[slot] = std::make_unique<RZ_Bone>();
    m.bones[slot]->parent = static_cast<uint8_t>(parent);
    m.bones[slot]->origin = origin;
    RZ_Bone& p = *m.bones[parent];
    for (uint8_t& c : p.children) {
        if (c == 0) {
            c = static_cast<uint8_t>(slot);
            break;
        }
    }
    return *m.bones[slot];
}

#define EXPECT_VEC_NEAR(v, ex, ey, ez, tol) \
    do {                                    \
        EXPECT_NEAR((v).x, (ex), (tol));    \
        EXPECT_NEAR((v).y, (ey), (tol));    \
        EXPECT_NEAR((v).z, (ez), (tol));    \
    } while (0)

// Little-endian bytes of a binary RZ object, written by hand so the reader is tested against
// the layout rather than against our own writer.
struct Bytes {
    std::string s;
    Bytes& U8(int v) {
        s.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& F32(float f) {
        uint32_t b;
        std::memcpy(&b, &f, 4);
        return U16(int(b & 0xFFFF)).U16(int(b >> 16));
    }
    Bytes& Name(const std::string& n) {
        U8(int(n.size()));
        s += n;
        return *this;
    }
    Bytes& Text(const std::string& t) {
        s += t;
        return *this;
    }
};

// The ASCII model of tests/fixtures/model, written by another program.
inline std::string RzFixture() {
    return ReadFileBytes(FixturesDir() + "/model/two_bones.rzo");
}

inline bool ReadRzBytes(RZ_Model& m, const std::string& bytes) {
    return ReadRzObject(m, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr,
                        nullptr, "mem.rzo");
}
