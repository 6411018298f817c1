#pragma once
// A data directory with the character fixtures, a skin picture and a weapon mesh; a recording
// device as g_pd3dDevice; a builder of small skinned models.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/rz_image.h"
#include "test_support.h"
#include "world/character.h"
#include "world/party.h"

// Animation `slot` keys bone 1 alone (x offset = frame), so a motion's play time is that track's.
struct MotionSpec {
    int slot;
    std::string name;
    std::vector<int> frames;
};

// Root, then the named bones in slots 1, 2, ... under it.
inline void BuildModel(RZ_Model& m, const std::vector<std::string>& bones,
                       const std::vector<MotionSpec>& motions, const char* texture = nullptr) {
    m.Reset();
    for (size_t i = 0; i < bones.size(); ++i) {
        m.bones[i + 1] = std::make_unique<RZ_Bone>();
        m.bones[i + 1]->SetName(bones[i].c_str());
        m.bones[0]->children[i] = uint8_t(i + 1);
    }
    if (texture) {
        m.materialCount = 1;
        m.materials[0].sourceName = texture;
    }
    for (const MotionSpec& motion : motions) {
        auto& a = m.animations[motion.slot] = std::make_unique<RZ_Animation>();
        a->name = motion.name;
        a->tracks[1] = std::make_unique<RZ_KeyTrack>();
        for (int f : motion.frames)
            a->tracks[1]->AddKey(f, Vector3{float(f), 0, 0}, Quaternion{0, 0, 0, 1},
                                 Vector3{1, 1, 1});
    }
}

class CharacterTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    std::string dir;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        namespace fs = std::filesystem;
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        dir = MakeTempDir("chara");
        fs::copy(FixturesDir() + "/characters", dir, fs::copy_options::recursive);
        fs::create_directories(fs::path(dir) / "wea");
        for (const char* f : {"box.x", "crate.bmp"})
            fs::copy(FixturesDir() + "/field/Q3D/" + f, fs::path(dir) / "wea" / f);
        fs::copy(FixturesDir() + "/field/Field/grass.bmp", fs::path(dir) / "chara" / "skin.bmp");
        SetDataDirectory(dir);
        ResetCharacters();
        ResetParty();
    }
    void TearDown() override {
        ResetCharacters();
        ResetParty();
        EXPECT_EQ(device->LiveTextureCount(), 0u);
        g_pd3dDevice = nullptr;
        device.reset();
        std::filesystem::remove_all(dir);
        HeadlessHostTest::TearDown();
    }
    void SaveModel(const std::string& name, const std::vector<std::string>& bones,
                   const std::vector<MotionSpec>& motions, const char* texture = nullptr) {
        RZ_Model m;
        BuildModel(m, bones, motions, texture);
        ASSERT_TRUE(
            m.Save((std::string(GetBasePath()) + "chara\\" + name).c_str(), RZ_SaveFormat::Ascii));
        ClearPathCache();
    }
};
